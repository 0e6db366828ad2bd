#include "ListView.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>

namespace korvan::ListView {
namespace {

// Lives on the view's viewport and goes with it, so it never outlives the screen it calls.
class EmptyAreaClicks : public QObject {
public:
    EmptyAreaClicks(QTableView* view, std::function<void()> click,
                    std::function<void()> doubleClick)
        : QObject(view->viewport()), view_(view), click_(std::move(click)),
          doubleClick_(std::move(doubleClick)) {
        view->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool release = event->type() == QEvent::MouseButtonRelease;
        const bool dbl = event->type() == QEvent::MouseButtonDblClick;
        if (watched == view_->viewport() && (release || dbl)) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                !view_->indexAt(mouse->position().toPoint()).isValid()) {
                // As in any report list, a click on nothing selects nothing.
                view_->clearSelection();
                if (release && click_)
                    click_();
                else if (dbl && doubleClick_)
                    doubleClick_();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QTableView* view_;
    std::function<void()> click_;
    std::function<void()> doubleClick_;
};

} // namespace

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

void onEmptyAreaClick(QTableView* view, std::function<void()> click,
                      std::function<void()> doubleClick) {
    new EmptyAreaClicks(view, std::move(click), std::move(doubleClick));
}

} // namespace korvan::ListView
