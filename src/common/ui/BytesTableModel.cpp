#include "BytesTableModel.h"

#include "QtText.h"

namespace korvan {

BytesTableModel::BytesTableModel(std::vector<Column> columns, RowCount rowCount, Cell cell,
                                 QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)), rowCount_(std::move(rowCount)),
      cell_(std::move(cell)) {}

int BytesTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_();
}

int BytesTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant BytesTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && toolTips_)) {
        const std::string cell = cell_(index.row(), index.column());
        return utf8_ ? QString::fromStdString(cell) : fromGbk(cell);
    }
    if (role == Qt::BackgroundRole && background_) {
        const QColor colour = background_(index.row(), index.column());
        return colour.isValid() ? QVariant(colour) : QVariant();
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columns_[static_cast<std::size_t>(index.column())].alignment);
    if (role == Qt::CheckStateRole && checked_ && index.column() == 0)
        return checked_(index.row()) ? Qt::Checked : Qt::Unchecked;
    return {};
}

void BytesTableModel::setCheckBoxes(Checked checked, Toggled toggled) {
    checked_ = std::move(checked);
    toggled_ = std::move(toggled);
}

Qt::ItemFlags BytesTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (checked_ && index.isValid() && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool BytesTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !toggled_ || !index.isValid() || index.column() != 0)
        return false;
    toggled_(index.row(), value.toInt() == Qt::Checked);
    refreshRow(index.row());
    return true;
}

QVariant BytesTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(columns_.size()))
        return {};
    const auto& column = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole)
        return column.header;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.alignment);
    return {};
}

void BytesTableModel::setHeader(int column, const QString& header) {
    columns_[static_cast<std::size_t>(column)].header = header;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void BytesTableModel::refresh() {
    beginResetModel();
    endResetModel();
}

void BytesTableModel::beginAppend(int count) {
    const int first = rowCount();
    beginInsertRows({}, first, first + count - 1);
}

void BytesTableModel::endAppend() {
    endInsertRows();
}

void BytesTableModel::refreshRow(int row) {
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

} // namespace korvan
