#pragma once
// The summary window of the record screen: the rows it shows summed up for a period by day, hour,
// weekday or commodity, as a table and a column chart of the amounts (hovering a bar shows its
// figures); the summary goes to a workbook with its chart, or to the printer.
#include <QPointer>
#include <functional>
#include <memory>

#include "common/Language.h"
#include "common/ui/DataEntryDialog.h"
#include "records/SalesRows.h"
#include "records/SalesSummary.h"

class QChartView;
class QPainter;
class QRectF;

namespace Ui {
class CSalesSummaryDlg;
}

namespace korvan {

class CSalesSummaryDlg : public DataEntryDialog {
    Q_OBJECT
public:
    // The caption of the record screen's button that opens the window.
    static constexpr Tr kButton{"汇总…", "Summary…"};

    // Hands a workbook to the desktop's program for it; calls `done` once it knows whether a
    // program took the file.
    using Opener = std::function<void(const QString& file, std::function<void(bool opened)> done)>;

    // `rows` must outlive the window (the record screen's list).
    CSalesSummaryDlg(const SalesRows& rows, Opener opener, QWidget* parent = nullptr);
    ~CSalesSummaryDlg() override;

    const SalesSummary& summary() const { return summary_; }
    QChartView* chartView() const { return chartView_; }

private:
    void setCaptions();
    // Sums up again for the period and grouping chosen; a date that is not YYYY-MM-DD is said
    // and leaves the summary as it was.
    void refresh();
    void showTable();
    void showChart();
    void paintChart(QPainter& painter, const QRectF& target) const;
    void onExport();
    void onPrint();

    std::unique_ptr<Ui::CSalesSummaryDlg> ui_;
    const SalesRows& rows_;
    Opener opener_;
    Lang lang_;
    SalesSummary summary_;
    QChartView* chartView_;
};

} // namespace korvan
