// The sales record screen offscreen: the full and query views, the selection mark and both
// deletions, the total box, a file that cannot be read, printing to a PDF and export.
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"
#include "common/ui/DesktopOpen.h"
#include "records/ui/CDzcjlDlg.h"
#include "support/UiData.h"
#include "support/UiFind.h"
#include "support/UiType.h"

using namespace korvan;
using korvan::test::child;
using korvan::test::UiData;

namespace {

// Four sales; one amount without digits counts 0.
const std::string kSales = "2026-12-07 09:15:02\fApple\f0.500\f3.00\f1.50\r\n"
                           "2026-12-07 10:01:44\fPear\f1.000\f2.25\f2.25\r\n"
                           "2026-12-08 08:00:00\fApple\f2\f3.00\f6.00\r\n"
                           "2026-12-8 08:30:00\fApples\f1\f3.00\fvoid\r\n";

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

void clickRow(QTableView* list, int row) {
    const QRect cell = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

QString cell(CDzcjlDlg& screen, int row, int column) {
    return child<QTableView>(&screen, "recordList")->model()->index(row, column).data().toString();
}

QString total(CDzcjlDlg& screen) {
    return child<QLineEdit>(&screen, "totalEdit")->text();
}

} // namespace

class SalesRecordScreenTest : public QObject {
    Q_OBJECT
private slots:
    void queryViewThenDisplayAll() {
        UiData data;
        data.write("dzcjl.rec", kSales);
        CDzcjlDlg screen;
        QCOMPARE(screen.shown().size(), 4u);
        QCOMPARE(cell(screen, 3, 4), QStringLiteral("void"));
        QCOMPARE(total(screen), QStringLiteral("9.75"));

        const struct {
            const char* date;
            const char* name;
            std::size_t rows;
            const char* total;
        } queries[] = {
            {"2026-12-07", "", 2, "3.75"}, // ten characters of the time, exactly
            {"", "Apple", 2, "7.50"},      // not "Apples"
            {"2026-12-08", "Apple", 1, "6.00"},
            {"", "APPLE", 2, "7.50"}, // ASCII letters match in either case
            {"", "Plum", 0, ""},      // an empty list leaves the box empty
            {"", "", 4, "9.75"},      // both empty: every row, still a query
        };
        for (const auto& q : queries) {
            child<QLineEdit>(&screen, "dateEdit")->setText(QString::fromUtf8(q.date));
            child<QLineEdit>(&screen, "nameEdit")->setText(QString::fromUtf8(q.name));
            click(child<QPushButton>(&screen, "queryButton"));
            QCOMPARE(screen.shown().size(), q.rows);
            QCOMPARE(total(screen), QString::fromUtf8(q.total));
            QVERIFY(!child<QPushButton>(&screen, "deleteAllButton")->isEnabled());
            QVERIFY(!child<QPushButton>(&screen, "deleteSelectionButton")->isEnabled());
        }
        // Enter in a box runs the query; a date not written YYYY-MM-DD is refused, saying so.
        Prompt::Script prompt;
        child<QLineEdit>(&screen, "nameEdit")->setText(QStringLiteral("pear"));
        QTest::keyClick(child<QLineEdit>(&screen, "nameEdit"), Qt::Key_Return);
        QCOMPARE(screen.shown().size(), 1u);
        child<QLineEdit>(&screen, "dateEdit")->setText(QStringLiteral("2026-12-7"));
        QTest::keyClick(child<QLineEdit>(&screen, "dateEdit"), Qt::Key_Return);
        QCOMPARE(prompt.last(),
                 std::string("Write the date as YYYY-MM-DD, for example 2026-12-07"));
        QCOMPARE(screen.shown().size(), 1u);
        click(child<QPushButton>(&screen, "displayAllButton"));
        QVERIFY(child<QLineEdit>(&screen, "dateEdit")->text().isEmpty());
        QVERIFY(child<QPushButton>(&screen, "deleteAllButton")->isEnabled());
        QCOMPARE(screen.shown().size(), 4u);

        // A value typed into the total box gives way to the computed one.
        test::typeText(child<QLineEdit>(&screen, "totalEdit"), QStringLiteral("1"));
        QCOMPARE(total(screen), QStringLiteral("9.75"));
    }

    void deletionsAskAndRewriteTheFile() {
        UiData data;
        data.write("dzcjl.rec", kSales);
        CDzcjlDlg screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        Prompt::Script prompt;
        auto* list = child<QTableView>(&screen, "recordList");

        click(child<QPushButton>(&screen, "deleteSelectionButton"));
        QCOMPARE(prompt.last(), std::string("Please select the record first"));

        clickRow(list, 1);
        QVERIFY(screen.selectionMark());
        prompt.answer(false); // No: nothing deleted, the mark stays
        click(child<QPushButton>(&screen, "deleteSelectionButton"));
        QCOMPARE(prompt.last(), std::string("Are you sure?"));
        QCOMPARE(data.read("dzcjl.rec"), kSales);
        click(child<QPushButton>(&screen, "deleteSelectionButton"));
        QCOMPARE(screen.shown().size(), 3u);
        QVERIFY(!screen.selectionMark());
        QCOMPARE(total(screen), QStringLiteral("7.50"));
        QCOMPARE(data.read("dzcjl.rec"), kSales.substr(0, kSales.find("2026-12-07 10")) +
                                             kSales.substr(kSales.find("2026-12-08")));

        // A Shift selection marks what is highlighted, as a click does: both rows go.
        clickRow(list, 1);
        const QRect last = list->visualRect(list->model()->index(2, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ShiftModifier, last.center());
        QVERIFY(screen.selectionMark());
        click(child<QPushButton>(&screen, "deleteSelectionButton"));
        QCOMPARE(screen.shown().size(), 1u);
        data.write("dzcjl.rec", kSales);
        click(child<QPushButton>(&screen, "displayAllButton"));

        click(child<QPushButton>(&screen, "deleteAllButton"));
        QCOMPARE(prompt.last(), std::string("Are you sure?"));
        QCOMPARE(data.read("dzcjl.rec"), std::string());
        QCOMPARE(total(screen), QString());
        click(child<QPushButton>(&screen, "deleteAllButton"));
        QCOMPARE(prompt.last(), std::string("No record "));
        click(child<QPushButton>(&screen, "printButton"));
        QCOMPARE(prompt.last(), std::string("No record "));
    }

    void anUnreadableFileIsNeverWrittenOver() {
        UiData data(kChinese);
        std::filesystem::create_directories(data.record("dzcjl.rec"));
        Prompt::Script prompt;
        CDzcjlDlg screen;
        screen.show();
        QTRY_VERIFY(!prompt.shown().empty());
        QVERIFY(prompt.last().find("dzcjl.rec") != std::string::npos);
        prompt.clear();
        click(child<QPushButton>(&screen, "readButton"));
        QCOMPARE(prompt.shown().size(), 1u); // the reason again; no transfer was started
        QVERIFY(std::filesystem::is_directory(data.record("dzcjl.rec")));
    }

    void printWritesEveryPage() {
        UiData data;
        std::string sales;
        for (int i = 0; i < 100; ++i)
            sales += "2026-12-07 09:00:00\fItem\f1\f1.00\f1.00\r\n";
        data.write("dzcjl.rec", sales);
        CDzcjlDlg screen;
        const auto pdf = data.record("out.pdf");
        DialogRunner::Scope run([&](QDialog& dialog) {
            auto* print = qobject_cast<QPrintDialog*>(&dialog);
            if (!print)
                return 0;
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(QString::fromStdString(pdf.string()));
            return int(QDialog::Accepted);
        });
        click(child<QPushButton>(&screen, "printButton"));
        const std::string bytes = test::readBytes(pdf);
        QVERIFY(bytes.rfind("%PDF", 0) == 0);
        // 100 rows: pages of 79 and 21.
        std::size_t pages = 0;
        for (auto at = bytes.find("/Type /Page\n"); at != std::string::npos;
             at = bytes.find("/Type /Page\n", at + 1))
            ++pages;
        QCOMPARE(pages, 2u);
    }

    void exportHandsTheWorkbookOverOrSaysWhereItIs() {
        UiData data(kChinese);
        data.write("dzcjl.rec", kSales);
        CDzcjlDlg screen;
        Prompt::Script prompt;
        QString opened;
        std::function<void(bool)> answer;
        int handedOver = 0;
        DesktopOpen::setOpener([&](const QString& file, std::function<void(bool)> done) {
            opened = file;
            answer = std::move(done);
            ++handedOver;
        });
        click(child<QPushButton>(&screen, "exportButton"));
        QVERIFY(opened.endsWith(QStringLiteral(".xlsx")));
        QVERIFY(test::readBytes(opened.toStdString()).rfind("PK", 0) == 0); // a zip
        // While the desktop looks for a program, another press does nothing.
        click(child<QPushButton>(&screen, "exportButton"));
        QCOMPARE(handedOver, 1);
        QVERIFY(prompt.shown().empty());
        answer(false); // no program took it: said once
        QCOMPARE(prompt.shown(),
                 std::vector<std::string>{"没有可以打开工作簿的程序。工作簿保存在: " +
                                          opened.toStdString()});
        std::filesystem::remove(opened.toStdString());
        click(child<QPushButton>(&screen, "exportButton")); // the next export may start
        QCOMPARE(handedOver, 2);
        answer(true);
        QCOMPARE(prompt.shown().size(), 1u);
        std::filesystem::remove(opened.toStdString());
        DesktopOpen::setOpener([](const QString&, std::function<void(bool)>) {});
    }
};

QTEST_MAIN(SalesRecordScreenTest)
#include "SalesRecordScreenTest.moc"
