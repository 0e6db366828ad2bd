#pragma once
// A report-style list as the screens use it: grid lines, full-row selection, several rows may be
// selected, draggable column headers, no row numbers.
#include <QTableView>
#include <functional>
#include <set>

#include "BytesTableModel.h"

namespace korvan::ListView {

// Sets up the view over the model with the model's column widths.
void setUp(QTableView* view, BytesTableModel* model);
// The selected rows, in ascending order.
std::set<std::size_t> selectedRows(const QTableView* view);

// Clicks on the empty part of the list (below the last row, or in an empty list) count as clicks
// too: the view's own clicked signals only report clicks on a row. `click` runs after a left-click
// release there (the view has cleared its selection by then), `doubleClick` after a left
// double-click there. Clicks on rows keep coming through the view's signals.
void onEmptyAreaClick(QTableView* view, std::function<void()> click,
                      std::function<void()> doubleClick = {});

} // namespace korvan::ListView
