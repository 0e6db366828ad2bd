// The scale parameter screen's Downloads to the simulated scale over the loopback: each receipt
// text as saved (line breaks included) and the screen's clock.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <ctime>

#include "common/Prompt.h"
#include "link/ui/CSendDataDlg.h"
#include "records/ui/CCcsSetDlg.h"
#include "support/ScaleProcess.h"
#include "support/UiData.h"
#include "support/UiFind.h"

using namespace korvan;
using korvan::test::child;

class ScaleParametersE2eTest : public QObject {
    Q_OBJECT
private slots:
    void textsAndClockReachTheScale() {
        test::UiData data;
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        // 鲜果 on two lines, as the file keeps line breaks.
        data.write("xpwz.rec", "\xCF\xCA\x1F\x1E\xB9\xFB\r\n555-0100\r\nHigh Street 1\r\n");
        test::ScaleProcess scale(KORVAN_SCALE_PROGRAM);
        CSendDataDlg::setNetworkPorts({scale.reply, scale.port});
        Prompt::Script prompt;
        CCcsSetDlg screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));

        const std::pair<const char*, const char*> texts[] = {
            {"storeNameDownloadButton", "store-name.txt"},
            {"shopPhoneDownloadButton", "shop-phone.txt"},
            {"storeAddressDownloadButton", "store-address.txt"}};
        for (const auto& [button, file] : texts)
            QTest::mouseClick(child<QPushButton>(&screen, button), Qt::LeftButton);
        QCOMPARE(prompt.shown(), std::vector<std::string>(3, "1Data download completed"));
        QCOMPARE(scale.read("store-name.txt"), std::string("鲜\\r\\n果\n"));
        QCOMPARE(scale.read("shop-phone.txt"), std::string("555-0100\n"));
        QCOMPARE(scale.read("store-address.txt"), std::string("High Street 1\n"));

        // The clock as the screen holds it at the click (no event runs in between).
        const auto clock = static_cast<std::time_t>(screen.clock());
        QTest::mouseClick(child<QPushButton>(&screen, "dateTimeDownloadButton"), Qt::LeftButton);
        QCOMPARE(prompt.last(), std::string("1Data download completed"));
        std::tm local{};
        ::localtime_r(&clock, &local);
        char expected[64];
        std::strftime(expected, sizeof expected, "time\t%Y-%m-%d %H:%M:%S\n", &local);
        const std::string stored = scale.read("clock.txt");
        QVERIFY2(stored.find(expected) != std::string::npos, stored.c_str());
        const int weekday = local.tm_wday == 0 ? 7 : local.tm_wday;
        char sent[32];
        std::snprintf(sent, sizeof sent, "sent\t%02d%d%02d%02d%02d%02d%02d\n", local.tm_year % 100,
                      weekday, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                      local.tm_sec);
        QVERIFY2(stored.find(sent) != std::string::npos, stored.c_str());

        // A text edited and not saved stays on the PC.
        QTest::keyClicks(child<QPlainTextEdit>(&screen, "storeNameEdit"), "X");
        prompt.clear();
        QTest::mouseClick(child<QPushButton>(&screen, "storeNameDownloadButton"), Qt::LeftButton);
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Please save the data first"});
        QCOMPARE(scale.read("store-name.txt"), std::string("鲜\\r\\n果\n"));
    }
};

QTEST_MAIN(ScaleParametersE2eTest)
#include "ScaleParametersE2eTest.moc"
