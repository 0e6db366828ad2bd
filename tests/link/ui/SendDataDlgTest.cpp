// The transfer dialog against the simulated scale over the loopback, on free ports.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "common/Prompt.h"
#include "common/ui/CTsDlg.h"
#include "common/ui/DialogRunner.h"
#include "link/UdpChannel.h"
#include "link/ui/CSendDataDlg.h"
#include "support/ScaleProcess.h"
#include "support/TempDir.h"
#include "support/UiData.h"

using namespace korvan;
using korvan::test::TempDir;
using korvan::test::UiData;

namespace {
// The simulated scale, with the transfer dialog pointed at its ports.
struct Scale : test::ScaleProcess {
    explicit Scale(const std::vector<std::string>& extra = {})
        : ScaleProcess(KORVAN_SCALE_PROGRAM, extra) {
        CSendDataDlg::setNetworkPorts({reply, port});
    }
};

JobRequest commodities(int rows) {
    CommodityPayload payload;
    for (int i = 1; i <= rows; ++i)
        payload.rows.push_back({"Apple" + std::to_string(i), std::to_string(1000 + i), "350", true,
                                true, "0", "5", false, "0", "1"});
    return {std::move(payload)};
}
} // namespace

class SendDataDlgTest : public QObject {
    Q_OBJECT
private slots:
    void downloadShowsProgressAndTheResult() {
        UiData data(kEnglish);
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        Scale scale;
        Prompt::Script prompt;
        CSendDataDlg dialog(commodities(3), nullptr);
        QCOMPARE(dialog.findChild<QLabel*>("titleLabel")->text(),
                 QStringLiteral("Network download progress"));
        QVERIFY(!dialog.findChild<QPushButton*>("cancelButton")->isEnabled());
        QVERIFY(dialog.findChild<QPushButton*>("okButton")->isHidden());
        dialog.exec();
        QVERIFY(dialog.report().completed);
        QCOMPARE(prompt.shown(), std::vector<std::string>{"3Data download completed"});
        QCOMPARE(dialog.findChild<QLabel*>("countLabel")->text(), QStringLiteral("3"));
        auto* bar = dialog.findChild<QProgressBar*>("progressBar");
        QCOMPARE(bar->maximum(), 3);
        QCOMPARE(bar->value(), 3);
        QVERIFY(test::readBytes(scale.store / "commodities.txt").find("Apple3") !=
                std::string::npos);
    }

    void refusalInChineseEndsWithItsText() {
        UiData data(kChinese);
        data.write("tx.rec",
                   "\xCD\xF8\xBF\xDA\xCD\xA8\xD1\xB6\r\nCOM1\r\n127.0.0.1\r\n"); // 网口通讯
        Scale scale({"--busy"});
        Prompt::Script prompt;
        CSendDataDlg dialog(commodities(2), nullptr);
        QCOMPARE(dialog.findChild<QLabel*>("titleLabel")->text(),
                 QStringLiteral("网口数据传送进度.."));
        QCOMPARE(dialog.findChild<QPushButton*>("cancelButton")->text(), QStringLiteral("取消"));
        dialog.exec();
        QVERIFY(!dialog.report().completed);
        QCOMPARE(prompt.last(), std::string("电子秤正在使用"));
    }

    void readRecordsHandsEachRecordToTheScreen() {
        UiData data(kEnglish);
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        Scale scale({"--sales-count", "4", "--split-lines", "3"});
        Prompt::Script prompt;
        std::vector<SalesRecord> rows;
        JobRequest request{
            ReadRecordsPayload{0, [&](const SalesRecord& record) { rows.push_back(record); }}};
        const TransferReport report = CSendDataDlg::run(std::move(request), nullptr);
        QVERIFY(report.completed);
        QCOMPARE(rows.size(), std::size_t(4));
        QCOMPARE(prompt.last(), std::string("4Data download completed"));
    }

    void usbLinkWithoutTheScaleSaysSo() {
        UiData data(kEnglish);
        data.write("tx.rec", "USB\r\nCOM1\r\n127.0.0.1\r\n");
        Prompt::Script prompt;
        const TransferReport report = CSendDataDlg::run(commodities(1), nullptr);
        QVERIFY(!report.completed);
        QCOMPARE(prompt.shown(), std::vector<std::string>{"USB interface failed to open"});
    }

    void unreadableSettingsAreReportedAndNothingIsSent() {
        UiData data(kEnglish);
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        Scale scale;
        Prompt::Script prompt;
        QVERIFY(CSendDataDlg::run(commodities(1), nullptr).completed); // the settings are known
        std::filesystem::remove(data.record("tx.rec"));
        std::filesystem::remove(scale.store / "commodities.txt");
        std::filesystem::create_directories(data.record("tx.rec")); // a folder in the way

        const TransferReport report = CSendDataDlg::run(commodities(2), nullptr);
        QVERIFY(!report.completed);
        QVERIFY(prompt.last().rfind("Not a regular file", 0) == 0);
        QVERIFY(prompt.last().find("tx.rec") != std::string::npos);
        QVERIFY(!std::filesystem::exists(scale.store / "commodities.txt"));
    }

    // The transfer dialog closes first; the final message stands centred over the screen that
    // started the job, and that screen has the keyboard again when the message closes.
    void finalPromptStandsOverTheScreenThatStartedTheJob() {
        UiData data(kEnglish);
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        Scale scale;
        QDialog screen;
        screen.setGeometry(60, 50, 640, 480);
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));

        CTsDlg::install();
        QWidget* promptParent = nullptr;
        QPoint promptCentre;
        QString promptText;
        bool transferVisible = true;
        DialogRunner::Scope runner([&](QDialog& dialog) {
            if (!qobject_cast<CTsDlg*>(&dialog))
                return DialogRunner::modal(dialog);
            transferVisible = screen.findChild<CSendDataDlg*>()->isVisible();
            promptParent = dialog.parentWidget();
            dialog.show();
            promptCentre = dialog.frameGeometry().center();
            promptText = dialog.findChild<QLabel*>("noteLabel")->text();
            QTest::keyClick(&dialog, Qt::Key_Return); // OK is the default button
            return dialog.result();
        });
        QVERIFY(CSendDataDlg::run(commodities(2), &screen).completed);

        QCOMPARE(promptText, QStringLiteral("2Data download completed"));
        QVERIFY(!transferVisible);
        QCOMPARE(promptParent, &screen);
        const QPoint offset = promptCentre - screen.frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 4,
                 qPrintable(
                     QStringLiteral("prompt centre off by %1,%2").arg(offset.x()).arg(offset.y())));
        QTRY_COMPARE(QApplication::activeWindow(), &screen);
        QTest::keyClick(QApplication::activeWindow(), Qt::Key_Escape);
        QVERIFY(!screen.isVisible());
    }

    void escapeAndTheCloseBoxStopAReadAfterTheLineOnItsWay() {
        UiData data(kEnglish);
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        Scale scale({"--sales-count", "50"});
        Prompt::Script prompt;
        ReadRecordsPayload request;
        request.sink = [](const SalesRecord&) {
            auto* dialog = qobject_cast<CSendDataDlg*>(QApplication::activeModalWidget());
            QTest::keyClick(dialog, Qt::Key_Escape);
            QVERIFY(!dialog->close() && dialog->isVisible());
            QCOMPARE(dialog->findChild<QProgressBar*>("progressBar")->maximum(), 0); // busy
        };
        CSendDataDlg::run({std::move(request)}, nullptr);
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Stopped after 1 record"});
    }

    void noLinkModeEndsWithAnEmptyResult() {
        UiData data(kEnglish);
        data.write("tx.rec", "\r\n");
        Prompt::Script prompt;
        CSendDataDlg dialog(commodities(1), nullptr);
        QCOMPARE(dialog.findChild<QLabel*>("titleLabel")->text(),
                 QStringLiteral("Download progress"));
        dialog.exec();
        QCOMPARE(prompt.shown(), std::vector<std::string>{""});
    }
};

QTEST_MAIN(SendDataDlgTest)
#include "SendDataDlgTest.moc"
