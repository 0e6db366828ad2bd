#pragma once
// A report-style list as the screens use it: grid lines, full-row selection, several rows may be
// selected, draggable column headers, no row numbers.
#include <QTableView>
#include <set>

#include "BytesTableModel.h"

namespace korvan::ListView {

// Sets up the view over the model with the model's column widths.
void setUp(QTableView* view, BytesTableModel* model);
// The selected rows, in ascending order.
std::set<std::size_t> selectedRows(const QTableView* view);

} // namespace korvan::ListView
