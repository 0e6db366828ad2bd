// Download from the commodity and description screens to the simulated scale over the loopback,
// on free ports: what the scale keeps is what the lists held.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "commodity/ui/CSpSetDlg.h"
#include "commodity/ui/CSpsmSetDlg.h"
#include "common/Prompt.h"
#include "link/ui/CSendDataDlg.h"
#include "support/ScaleProcess.h"
#include "support/TempDir.h"
#include "support/UiData.h"
#include "support/UiFind.h"
#include "support/UiType.h"

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

using korvan::test::child;

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

const char* const kNetwork = "Network\r\nCOM1\r\n127.0.0.1\r\n";

// 苹果, an 11-byte name (cut to 10 in the short format) and 红富士苹果 (10 bytes).
const std::string kCommodities =
    "\xC6\xBB\xB9\xFB\f1001\f6.80\fYes\fweight\f0\f7\fNo\f0\f1\r\n"
    "Watermelons\f1002\f2.50\fNo\fquantity\f5\f3\fYes\f10\f2\r\n"
    "\xBA\xEC\xB8\xBB\xCA\xBF\xC6\xBB\xB9\xFB\f1003\f9.90\fNo\fweight\f15\f10\fNo\f0\f32\r\n";
} // namespace

class CommodityDownloadTest : public QObject {
    Q_OBJECT
private slots:
    void commodityListInShortAndFullFormat() {
        UiData data(kChinese); // cells show Chinese words; the scale gets the file's
        data.write("tx.rec", kNetwork);
        data.write("sp.rec", kCommodities);
        Scale scale;
        Prompt::Script prompt;
        CSpSetDlg screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QCOMPARE(
            child<QTableView>(&screen, "commodityList")->model()->index(1, 4).data().toString(),
            QStringLiteral("数量"));

        click(child<QRadioButton>(&screen, "orinKesaRadio"));
        click(child<QPushButton>(&screen, "downloadButton"));
        QCOMPARE(prompt.shown(), std::vector<std::string>{"3条数据传送完成"});
        QCOMPARE(scale.read("commodities.txt"),
                 std::string("# commodities, short format (command 0x03), 3 records\n"
                             "# plu\tname\tprice\n"
                             "1\t苹果\t6.80\n"
                             "2\tWatermelon\t2.50\n"
                             "3\t红富士苹果\t9.90\n"));

        click(child<QRadioButton>(&screen, "vamoRadio"));
        click(child<QPushButton>(&screen, "downloadButton"));
        QCOMPARE(prompt.last(), std::string("3条数据传送完成"));
        QCOMPARE(scale.read("commodities.txt"),
                 std::string("# commodities, full format (command 0x13), 3 records\n"
                             "# plu\tname\tcode\tprice\tprice-change\tsales-mode\ttare\t"
                             "shelf-life\tdiscount\tdiscount-rate\tdescription\n"
                             "1\t苹果\t1001\t6.80\tYes\tweight\t0\t7\tNo\t0\t1\n"
                             "2\tWatermelons\t1002\t2.50\tNo\tquantity\t5\t3\tYes\t10\t2\n"
                             "3\t红富士苹果\t1003\t9.90\tNo\tweight\t15\t10\tNo\t0\t32\n"));
    }

    void descriptionsAsEditedAndSaved() {
        UiData data(kEnglish);
        data.write("tx.rec", kNetwork);
        // A text holding a form feed goes out whole.
        data.write("spsm.rec", "1\f\xD0\xC2\xCF\xCA\r\n2\f\r\n3\fFresh\fdaily\r\n");
        Scale scale;
        Prompt::Script prompt;
        CSpsmSetDlg screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        auto* list = child<QTableView>(&screen, "descriptionList");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(1, 0)).center());
        test::typeText(child<QLineEdit>(&screen, "textEdit"), QStringLiteral("冷藏 0-4℃"));
        click(child<QPushButton>(&screen, "downloadButton"));
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Please save the data first"});

        click(child<QPushButton>(&screen, "saveButton"));
        click(child<QPushButton>(&screen, "downloadButton"));
        QCOMPARE(prompt.last(), std::string("3Data download completed"));
        QCOMPARE(scale.read("descriptions.txt"),
                 std::string("# descriptions (command 0x15), 3 records\n"
                             "# entry\ttext\n"
                             "1\t新鲜\n"
                             "2\t冷藏 0-4℃\n"
                             "3\tFresh\\fdaily\n"));
    }
};

QTEST_MAIN(CommodityDownloadTest)
#include "CommodityDownloadTest.moc"
