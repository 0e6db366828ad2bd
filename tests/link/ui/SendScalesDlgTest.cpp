// The transfer window for several scales, against simulated scales over the loopback.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "link/ui/CSendDataDlg.h"
#include "link/ui/CSendScalesDlg.h"
#include "support/ScaleProcess.h"
#include "support/UiData.h"

using namespace korvan;
using namespace std::chrono_literals;
using korvan::test::UiData;

class SendScalesDlgTest : public QObject {
    Q_OBJECT
private slots:
    void oneRowPerScaleAndTheSummary() {
        UiData data(kEnglish);
        data.write("scales.rec", "produce\fNetwork\f\f127.0.0.2\r\n"
                                 "deli\fNetwork\f\f127.0.0.3\r\n"
                                 "bakery\fNetwork\f\f127.0.0.4\r\n"
                                 "meat\fUSB\f/no/such/device\f\r\n");
        auto scales = test::ScaleProcess::sideBySide(KORVAN_SCALE_PROGRAM,
                                                     {{"--quiet"}, {"--quiet"}, {"--busy"}});
        CSendDataDlg::setNetworkPorts({scales[0]->reply, scales[0]->port});
        CommodityPayload rows;
        for (int i = 1; i <= 3; ++i)
            rows.rows.push_back({"Apple" + std::to_string(i), std::to_string(1000 + i), "350", true,
                                 true, "0", "5", false, "0", "1"});

        CSendScalesDlg dialog(JobRequest{rows}, nullptr);
        auto* close = dialog.findChild<QPushButton*>("closeButton");
        QVERIFY(!close->isEnabled());
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(close->isEnabled(), 20000);
        const auto cell = [&dialog](const char* name, int row) {
            return dialog.findChild<QLabel*>(QString::fromLatin1(name) + QString::number(row))
                ->text();
        };
        const QStringList names = {"produce", "deli", "bakery", "meat"};
        const QStringList outcomes = {"3Data download completed", "3Data download completed",
                                      "Electronic scales in use", "USB interface failed to open"};
        for (int row = 0; row < 4; ++row) {
            QCOMPARE(cell("scaleName", row), names[row]);
            QCOMPARE(cell("scaleOutcome", row), outcomes[row]);
        }
        auto* bar = dialog.findChild<QProgressBar*>("scaleProgress1");
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(dialog.findChild<QLabel*>("summaryLabel")->text(),
                 QStringLiteral("2 of 4 scales completed"));
        QCOMPARE(dialog.completed(), std::size_t(2));

        // The bakery's scale is free now: a retry runs on it and on the USB scale alone.
        scales[2].reset();
        scales[2] = std::make_unique<test::ScaleProcess>(
            KORVAN_SCALE_PROGRAM, std::vector<std::string>{"--bind", "127.0.0.4"}, scales[0].get());
        const std::string produceLog = scales[0]->read("raw.log");
        dialog.findChild<QPushButton*>("retryButton")->click();
        QTRY_VERIFY_WITH_TIMEOUT(close->isEnabled(), 20000);
        QCOMPARE(cell("scaleOutcome", 2), outcomes[0]);
        QCOMPARE(cell("scaleOutcome", 3), outcomes[3]);
        QCOMPARE(scales[0]->read("raw.log"), produceLog);
        QCOMPARE(dialog.completed(), std::size_t(3));
        close->click();
        QVERIFY(!dialog.isVisible());
    }
};

QTEST_MAIN(SendScalesDlgTest)
#include "SendScalesDlgTest.moc"
