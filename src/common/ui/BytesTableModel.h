#pragma once
// A read-only table model over rows the core keeps as code page 936 bytes. The screen gives the
// row count and a cell accessor; nothing is copied, so thousands of rows show at once.
#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <vector>

namespace korvan {

class BytesTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString header;
        int width = 100; // pixels
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    };
    using RowCount = std::function<int()>;
    using Cell = std::function<std::string(int row, int column)>;

    BytesTableModel(std::vector<Column> columns, RowCount rowCount, Cell cell, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const std::vector<Column>& columns() const { return columns_; }
    void setHeader(int column, const QString& header);
    // The core's rows changed: show them again.
    void refresh();
    // One row's cells changed.
    void refreshRow(int row);

private:
    std::vector<Column> columns_;
    RowCount rowCount_;
    Cell cell_;
};

} // namespace korvan
