#include "ListView.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace korvan::ListView {

void setUp(QTableView* view, BytesTableModel* model) {
    view->setModel(model);
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setSectionsMovable(true);
    view->horizontalHeader()->setHighlightSections(false);
    view->setWordWrap(false);
    for (int c = 0; c < model->columnCount(); ++c)
        view->setColumnWidth(c, model->columns()[static_cast<std::size_t>(c)].width);
}

std::set<std::size_t> selectedRows(const QTableView* view) {
    std::set<std::size_t> rows;
    if (!view->selectionModel())
        return rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows.insert(static_cast<std::size_t>(index.row()));
    return rows;
}

} // namespace korvan::ListView
