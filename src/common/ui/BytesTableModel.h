#pragma once
// A read-only table model over rows the core keeps as code page 936 bytes (or, for texts read from
// elsewhere, UTF-8). The screen gives the row count and a cell accessor; nothing is copied, so
// thousands of rows show at once.
#include <QAbstractTableModel>
#include <QColor>
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

    // Gives the first column a check box per row: `checked` tells its state, `toggled` takes
    // the operator's click (or Space) on it; the screen changes its rows and refreshes the row.
    using Checked = std::function<bool(int row)>;
    using Toggled = std::function<void(int row, bool checked)>;
    void setCheckBoxes(Checked checked, Toggled toggled);

    // The cells are UTF-8 texts instead of code page 936 bytes.
    void setUtf8Cells(bool utf8) { utf8_ = utf8; }
    // A background per cell (an invalid colour leaves the view's own), to mark rows or cells out.
    using CellBackground = std::function<QColor(int row, int column)>;
    void setCellBackground(CellBackground background) { background_ = std::move(background); }
    // Each cell's whole text as its tool tip, for texts longer than their column.
    void setTextToolTips(bool on) { toolTips_ = on; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    const std::vector<Column>& columns() const { return columns_; }
    void setHeader(int column, const QString& header);
    // The core's rows changed: show them again.
    void refresh();
    // One row's cells changed.
    void refreshRow(int row);
    // Rows are added at the end: call before the core adds them and after, so a view keeps its
    // place and selection while a long list grows.
    void beginAppend(int count);
    void endAppend();

private:
    std::vector<Column> columns_;
    RowCount rowCount_;
    Cell cell_;
    Checked checked_;
    Toggled toggled_;
    bool utf8_ = false;
    CellBackground background_;
    bool toolTips_ = false;
};

} // namespace korvan
