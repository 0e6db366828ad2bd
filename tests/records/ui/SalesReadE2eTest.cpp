// Reading records from the simulated scale into the record screen: rows are added after those
// of the file, a second read of the same sales adds none, and the file holds them; clearing
// empties the scale's records but not the screen's.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"
#include "link/ui/CSendDataDlg.h"
#include "records/SalesRecords.h"
#include "records/ui/CDzcjlDlg.h"
#include "support/ScaleProcess.h"
#include "support/UiData.h"
#include "support/UiFind.h"

using namespace korvan;
using korvan::test::child;

class SalesReadE2eTest : public QObject {
    Q_OBJECT
private slots:
    void readTwiceThenClear() {
        test::UiData data;
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        const std::string kept = "2026-01-02 08:00:00\fKept\f1\f1.00\f1.00\r\n";
        data.write("dzcjl.rec", kept);
        test::ScaleProcess scale(KORVAN_SCALE_PROGRAM, {"--sales-count", "5"});
        CSendDataDlg::setNetworkPorts({scale.reply, scale.port});
        Prompt::Script prompt;
        CDzcjlDlg screen;
        child<QLineEdit>(&screen, "nameEdit")->setText(QStringLiteral("Kept"));
        QTest::mouseClick(child<QPushButton>(&screen, "queryButton"), Qt::LeftButton);

        QTest::mouseClick(child<QPushButton>(&screen, "readButton"), Qt::LeftButton);
        QVERIFY(!screen.queryView()); // reading shows every record
        QVERIFY(child<QLineEdit>(&screen, "nameEdit")->text().isEmpty());
        QCOMPARE(screen.shown().size(), 6u);
        QTest::mouseClick(child<QPushButton>(&screen, "readButton"), Qt::LeftButton);
        QCOMPARE(screen.shown().size(), 6u);
        QCOMPARE(prompt.last(), std::string("0 new, 5 already there"));

        const auto file = SalesRecords::load(data.record("dzcjl.rec"));
        QVERIFY(file.ok());
        QCOMPARE(file.value.size(), 6u);
        QCOMPARE(file.value.field(0, 1), std::string_view("Kept"));
        QVERIFY(!child<QLineEdit>(&screen, "totalEdit")->text().isEmpty());

        const std::string before = data.read("dzcjl.rec");
        QTest::mouseClick(child<QPushButton>(&screen, "clearButton"), Qt::LeftButton);
        QCOMPARE(prompt.shown().at(prompt.shown().size() - 2), std::string("Are you sure?"));
        QCOMPARE(screen.shown().size(), 6u);
        QCOMPARE(data.read("dzcjl.rec"), before);
        QCOMPARE(prompt.last(), std::string("Electronic scale record clearance completed"));
    }

    void readFromAllScalesStoresEachScalesRecordsTogether() {
        test::UiData data(kEnglish);
        data.write("scales.rec", "produce\fNetwork\f\f127.0.0.2\r\n"
                                 "deli\fNetwork\f\f127.0.0.3\r\n");
        // Each scale serves its sales in pieces and slowly, so the two reads overlap.
        std::string sales[2];
        std::vector<std::vector<std::string>> options;
        for (int i = 0; i < 2; ++i) {
            for (int day = 1; day <= 4; ++day)
                sales[i] += "2026-03-0" + std::to_string(day) + " 10:00\f" +
                            (i == 0 ? "Pear" : "Ham") + "\f1.000\f5.00\f5.00\r\n";
            const auto file = data.record(i == 0 ? "produce" : "deli");
            test::writeBytes(file, sales[i]);
            options.push_back({"--sales", file, "--split-lines", "2", "--delay-ms", "30"});
        }
        const auto scales = test::ScaleProcess::sideBySide(KORVAN_SCALE_PROGRAM, options);
        CSendDataDlg::setNetworkPorts({scales[0]->reply, scales[0]->port});
        Prompt::Script prompt;
        prompt.choose(1); // all scales
        DialogRunner::Scope run([](QDialog& dialog) {
            dialog.show();
            auto* close = child<QPushButton>(&dialog, "closeButton");
            (void)QTest::qWaitFor([close] { return close->isEnabled(); }, 20000);
            close->click();
            return 1;
        });
        CDzcjlDlg screen;
        QTest::mouseClick(child<QPushButton>(&screen, "readButton"), Qt::LeftButton);
        QCOMPARE(screen.shown().size(), 8u);
        QCOMPARE(data.read("dzcjl.rec"), sales[0] + sales[1]);
    }
};

QTEST_MAIN(SalesReadE2eTest)
#include "SalesReadE2eTest.moc"
