// The summary window offscreen, opened from the record screen on the rows it shows: period and
// grouping, a hovered bar's figures, and printing the chart before the table.
#include <QBarSet>
#include <QChartView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "common/ui/DialogRunner.h"
#include "records/ui/CDzcjlDlg.h"
#include "records/ui/CSalesSummaryDlg.h"
#include "records/ui/SummaryChart.h"
#include "support/UiData.h"
#include "support/UiFind.h"

using namespace korvan;
using korvan::test::child;
using korvan::test::UiData;

namespace {

const std::string kSales = "2026-12-07 09:15:02\fApple\f0.500\f3.00\f1.50\r\n"
                           "2026-12-07 10:01:44\fPear\f1.000\f2.25\f2.25\r\n"
                           "2026-12-08 08:00:00\fApple\f2\f3.00\f6.00\r\n";

std::size_t pdfPages(const std::string& bytes) {
    std::size_t pages = 0;
    for (auto at = bytes.find("/Type /Page\n"); at != std::string::npos;
         at = bytes.find("/Type /Page\n", at + 1))
        ++pages;
    return pages;
}

} // namespace

class SalesSummaryWindowTest : public QObject {
    Q_OBJECT

    void checkWindow(CSalesSummaryDlg& window) {
        // The query's two rows, not the file's three.
        QCOMPARE(window.summary().total().amount, 3.75);
        child<QComboBox>(&window, "byCombo")->setCurrentIndex(3); // by commodity
        auto* table = child<QTableWidget>(&window, "summaryTable");
        QCOMPARE(table->rowCount(), 3);                              // two names and the totals
        QCOMPARE(table->item(0, 0)->text(), QStringLiteral("Pear")); // the larger amount
        QCOMPARE(table->item(2, 3)->text(), QStringLiteral("3.75"));

        QBarSet* bars = SummaryChart::bars(*window.chartView()->chart());
        QVERIFY(bars);
        emit bars->hovered(true, 1);
        QCOMPARE(child<QLabel>(&window, "hoverLabel")->text(),
                 QStringLiteral("Apple: Amount 1.50, Sales 1, N.W/Q'TY 0.500, Share 40.0%"));
        emit bars->hovered(false, 1);
        QVERIFY(child<QLabel>(&window, "hoverLabel")->text().isEmpty());

        // Half a date is said and leaves the summary as it was.
        child<QLineEdit>(&window, "fromEdit")->setText("2026-12");
        QVERIFY(!child<QLabel>(&window, "dateProblem")->text().isEmpty());
        QCOMPARE(table->rowCount(), 3);
        child<QLineEdit>(&window, "fromEdit")->setText("2026-12-08");
        QCOMPARE(table->rowCount(), 1); // nothing of the rows shown is that late
        child<QLineEdit>(&window, "fromEdit")->clear();

        QTest::mouseClick(child<QPushButton>(&window, "printButton"), Qt::LeftButton);
    }

private slots:
    void summarisesTheRowsShownAndShowsAHoveredBar() {
        UiData data;
        data.write("dzcjl.rec", kSales);
        CDzcjlDlg screen;
        child<QLineEdit>(&screen, "dateEdit")->setText("2026-12-07");
        QTest::mouseClick(child<QPushButton>(&screen, "queryButton"), Qt::LeftButton);
        const auto pdf = data.record("summary.pdf");
        bool opened = false;
        DialogRunner::Scope run([&](QDialog& dialog) {
            if (auto* print = qobject_cast<QPrintDialog*>(&dialog)) {
                print->printer()->setOutputFormat(QPrinter::PdfFormat);
                print->printer()->setOutputFileName(QString::fromStdString(pdf.string()));
                return int(QDialog::Accepted);
            }
            if (auto* window = qobject_cast<CSalesSummaryDlg*>(&dialog)) {
                opened = true;
                checkWindow(*window);
            }
            return 0;
        });
        QTest::mouseClick(child<QPushButton>(&screen, "summaryButton"), Qt::LeftButton);
        QVERIFY(opened);
        // The chart on a page of its own, then the table's page.
        QCOMPARE(pdfPages(test::readBytes(pdf)), 2u);
    }
};

QTEST_MAIN(SalesSummaryWindowTest)
#include "SalesSummaryWindowTest.moc"
