// Import and export on the commodity screen, offscreen: the file dialogs and the preview are
// answered through the dialog seam, so the whole path from button to list and file is exercised.
#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "commodity/ui/CSpImportDlg.h"
#include "commodity/ui/CSpSetDlg.h"
#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"
#include "link/ui/CSendDataDlg.h"
#include "support/UiData.h"
#include "support/UiFind.h"

using namespace korvan;
using korvan::test::child;
using korvan::test::TempDir;
using korvan::test::UiData;

namespace {

void click(QWidget* parent, const char* button) {
    QTest::mouseClick(child<QPushButton>(parent, button), Qt::LeftButton);
}

QString cellText(QTableView* view, int row, int column) {
    return view->model()->index(row, column).data().toString();
}

// The preview's columns: status, line, the ten fields, the reason.
constexpr int kStatus = 0;
constexpr int kLine = 1;
constexpr int kName = 2;
constexpr int kCode = 3;
constexpr int kPrice = 4;
constexpr int kReason = 12;

const std::string kTwoRows = "Apple\f1001\f5.00\fYes\fweight\f0\f7\fNo\f0\f3\r\n"
                             "Pear\f1002\f4.00\fNo\fquantity\f0\f5\fYes\f10\f4\r\n";
// Apple gets a new price, Melon is new, Plum has no code (line 4).
const std::string kCsvWithBadRow = "name,Commodity Code,Price\n"
                                   "Apple,1001,5.50\n"
                                   "Melon,2001,3.00\n"
                                   "Plum,,2.00\n";
const std::string kCleanCsv = "name,Commodity Code,Price\n"
                              "Apple,1001,5.50\n"
                              "Melon,2001,3.00\n";

// Answers every dialog the screen runs: the file dialogs choose the given file, the preview runs
// `preview` and returns as the operator left it (Cancel unless OK was pressed), a transfer is only
// counted.
struct Dialogs {
    QString openFile;   // empty: the import's file dialog is cancelled
    QString saveFile;   // the name typed into the export's save dialog
    QString saveFilter; // the kind chosen there (empty: the one it opens with)
    std::function<void(CSpImportDlg&)> preview;
    int fileDialogs = 0;
    int previews = 0;
    int transfers = 0;

    DialogRunner::Scope scope{[this](QDialog& dialog) { return answer(dialog); }};

    int answer(QDialog& dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            ++fileDialogs;
            const bool save = files->acceptMode() == QFileDialog::AcceptSave;
            const QString name = save ? saveFile : openFile;
            if (name.isEmpty())
                return QDialog::Rejected;
            if (save && !saveFilter.isEmpty()) {
                files->selectNameFilter(saveFilter);
                emit files->filterSelected(saveFilter); // as the operator's choice does
            }
            files->selectFile(name);
            return QDialog::Accepted;
        }
        if (auto* import = dynamic_cast<CSpImportDlg*>(&dialog)) {
            ++previews;
            if (preview)
                preview(*import);
            return import->result();
        }
        if (dynamic_cast<CSendDataDlg*>(&dialog))
            ++transfers;
        return QDialog::Rejected;
    }
};

QString writeCsv(const TempDir& dir, const std::string& name, const std::string& bytes) {
    test::writeBytes(dir / name, bytes);
    return QString::fromStdString((dir / name).string());
}

} // namespace

class CommodityImportUiTest : public QObject {
    Q_OBJECT
private slots:
    void buttonsAndPreviewCaptionsInEveryLanguage() {
        for (const char* flag : {kChinese, kEnglish, "French"}) {
            const bool zh = std::string(flag) == kChinese; // anything else shows English
            auto pick = [zh](const char* chinese, const char* english) {
                return QString::fromUtf8(zh ? chinese : english);
            };
            UiData data(flag);
            TempDir files;
            Prompt::Script prompt;
            Dialogs dialogs;
            dialogs.openFile = writeCsv(files, "in.csv", "商品名,商品编码,单价\nApple,1001,5\n");
            CSpSetDlg screen;
            auto* download = child<QPushButton>(&screen, "downloadButton");
            auto* import = child<QPushButton>(&screen, "importButton");
            auto* exportButton = child<QPushButton>(&screen, "exportButton");
            auto* ok = child<QPushButton>(&screen, "okButton");
            QCOMPARE(import->text(), pick("导入…", "Import…"));
            QCOMPARE(exportButton->text(), pick("导出…", "Export…"));
            // In the right column between Download and OK, and Tab walks down that column.
            for (QPushButton* button : {import, exportButton}) {
                QCOMPARE(button->geometry().x(), download->geometry().x());
                QCOMPARE(button->size(), download->size());
                QVERIFY(button->y() > download->geometry().bottom());
                QVERIFY(button->geometry().bottom() < ok->y());
            }
            QCOMPARE(download->nextInFocusChain(), import);
            QCOMPARE(import->nextInFocusChain(), exportButton);
            QCOMPARE(exportButton->nextInFocusChain(), ok);

            dialogs.preview = [&](CSpImportDlg& preview) {
                QCOMPARE(preview.windowTitle(), pick("导入商品", "Import commodities"));
                QCOMPARE(child<QRadioButton>(&preview, "mergeRadio")->text(),
                         pick("按编码合并", "Merge by code"));
                QCOMPARE(child<QRadioButton>(&preview, "replaceRadio")->text(),
                         pick("替换整个列表", "Replace the whole list"));
                QCOMPARE(child<QCheckBox>(&preview, "validOnlyCheck")->text(),
                         pick("只导入有效的行", "Import only the valid rows"));
                QCOMPARE(child<QPushButton>(&preview, "cancelButton")->text(),
                         pick("取消", "Cancel"));
                auto* table = child<QTableView>(&preview, "previewTable");
                auto* model = table->model();
                QCOMPARE(model->headerData(kStatus, Qt::Horizontal).toString(),
                         pick("状态", "Status"));
                QCOMPARE(model->headerData(kCode, Qt::Horizontal).toString(),
                         pick("商品编码", "Commodity Code"));
                QCOMPARE(model->headerData(kReason, Qt::Horizontal).toString(),
                         pick("原因", "Reason"));
                QCOMPARE(cellText(table, 0, kStatus), pick("新增", "Add"));
                QCOMPARE(child<QLabel>(&preview, "summaryLabel")->text(),
                         QString::fromStdString(preview.plan().summary()));
            };
            click(&screen, "importButton");
            QCOMPARE(dialogs.previews, 1);
        }
    }

    void rejectedRowsAreShownAndTakenOnlyOnRequest() {
        UiData data;
        data.write("sp.rec", kTwoRows);
        TempDir files;
        Prompt::Script prompt;
        Dialogs dialogs;
        dialogs.openFile = writeCsv(files, "in.csv", kCsvWithBadRow);
        CSpSetDlg screen;
        dialogs.preview = [&](CSpImportDlg& preview) {
            auto* table = child<QTableView>(&preview, "previewTable");
            auto* ok = child<QPushButton>(&preview, "okButton");
            auto* validOnly = child<QCheckBox>(&preview, "validOnlyCheck");
            QCOMPARE(table->model()->rowCount(), 3);
            const std::array<std::array<const char*, 4>, 3> expected{{
                {"Update", "2", "Apple", "5.50"},
                {"Add", "3", "Melon", "3.00"},
                {"Rejected", "4", "Plum", "2.00"},
            }};
            for (int row = 0; row < 3; ++row) {
                const auto& [status, line, name, price] = expected[static_cast<std::size_t>(row)];
                QCOMPARE(cellText(table, row, kStatus), QString::fromUtf8(status));
                QCOMPARE(cellText(table, row, kLine), QString::fromUtf8(line));
                QCOMPARE(cellText(table, row, kName), QString::fromUtf8(name));
                QCOMPARE(cellText(table, row, kPrice), QString::fromUtf8(price));
                const QVariant background =
                    table->model()->index(row, kCode).data(Qt::BackgroundRole);
                QCOMPARE(background.isValid(), row == 2); // only the rejected row stands out
            }
            QCOMPARE(cellText(table, 2, kReason),
                     QStringLiteral("Commodity Code: Commodity Code Can't Be Empty"));
            QVERIFY(cellText(table, 0, kReason).isEmpty());
            QCOMPARE(table->model()->index(2, kReason).data(Qt::ToolTipRole).toString(),
                     cellText(table, 2, kReason)); // read in full where the column cuts it

            // Nothing is taken while a row is rejected, unless the valid rows alone are asked for.
            QVERIFY(!ok->isEnabled());
            QVERIFY(validOnly->isEnabled());
            validOnly->click();
            QVERIFY(ok->isEnabled());
            validOnly->click();
            QVERIFY(!ok->isEnabled());
            validOnly->click();
            ok->click();
        };
        click(&screen, "importButton");
        QCOMPARE(dialogs.previews, 1);

        auto* list = child<QTableView>(&screen, "commodityList");
        QCOMPARE(list->model()->rowCount(), 3);
        QCOMPARE(cellText(list, 0, 2), QStringLiteral("5.50"));
        QCOMPARE(cellText(list, 2, 0), QStringLiteral("Melon"));
        QCOMPARE(cellText(list, 2, 4), QStringLiteral("weight")); // a new record's values
        QVERIFY(screen.list().isModified());
        QCOMPARE(data.read("sp.rec"), kTwoRows); // nothing written yet

        // Unsaved like any other change: Download waits for Save.
        prompt.clear();
        click(&screen, "downloadButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Please save the data first"});
        QCOMPARE(dialogs.transfers, 0);
        click(&screen, "saveButton");
        QCOMPARE(prompt.last(), std::string("Save completed"));
        QCOMPARE(data.read("sp.rec"),
                 std::string("Apple\f1001\f5.50\fYes\fweight\f0\f7\fNo\f0\f3\r\n"
                             "Pear\f1002\f4.00\fNo\fquantity\f0\f5\fYes\f10\f4\r\n"
                             "Melon\f2001\f3.00\fYes\fweight\f0\f0\fNo\f0\f0\r\n"));
        prompt.clear();
        click(&screen, "downloadButton");
        QVERIFY(prompt.shown().empty());
        QCOMPARE(dialogs.transfers, 1);
    }

    void replaceCancelAndRefusedFiles() {
        struct Case {
            const char* what;
            std::string csv;
            bool replace;
            bool accept;
            std::vector<std::string> names; // the list afterwards
            bool modified;
        };
        const Case cases[] = {
            {"merge, then cancel", kCleanCsv, false, false, {"Apple", "Pear"}, false},
            {"replace", kCleanCsv, true, true, {"Apple", "Melon"}, true},
            {"replace, then cancel", kCleanCsv, true, false, {"Apple", "Pear"}, false},
        };
        for (const Case& c : cases) {
            UiData data;
            data.write("sp.rec", kTwoRows);
            TempDir files;
            Prompt::Script prompt;
            Dialogs dialogs;
            dialogs.openFile = writeCsv(files, "in.csv", c.csv);
            CSpSetDlg screen;
            dialogs.preview = [&](CSpImportDlg& preview) {
                auto* table = child<QTableView>(&preview, "previewTable");
                auto* summary = child<QLabel>(&preview, "summaryLabel");
                const QString merging = summary->text();
                QCOMPARE(cellText(table, 0, kStatus), QStringLiteral("Update"));
                if (c.replace) {
                    child<QRadioButton>(&preview, "replaceRadio")->click();
                    // Replacing, every row of the file is new.
                    QCOMPARE(preview.mode(), CommodityImport::Mode::Replace);
                    QCOMPARE(cellText(table, 0, kStatus), QStringLiteral("Add"));
                    QVERIFY(summary->text() != merging);
                }
                click(&preview, c.accept ? "okButton" : "cancelButton");
            };
            click(&screen, "importButton");
            QVERIFY2(dialogs.previews == 1, c.what);
            std::vector<std::string> names;
            for (const CommodityRecord& record : screen.list().rows())
                names.push_back(record.name);
            QVERIFY2(names == c.names, c.what);
            QVERIFY2(screen.list().isModified() == c.modified, c.what);
            QVERIFY2(prompt.shown().empty(), c.what);
        }

        // A file refused as a whole is told and never previewed; so is a list that could not
        // be read, before any file is chosen.
        UiData data;
        data.write("sp.rec", kTwoRows);
        TempDir files;
        Prompt::Script prompt;
        Dialogs dialogs;
        dialogs.openFile = writeCsv(files, "in.csv", "name,Price\nApple,5\n");
        CSpSetDlg screen;
        click(&screen, "importButton");
        QCOMPARE(dialogs.previews, 0);
        QCOMPARE(prompt.shown().size(), std::size_t(1));
        QVERIFY(prompt.last().starts_with("Required columns are missing"));
        QVERIFY(!screen.list().isModified());

        UiData unreadable;
        std::filesystem::create_directories(unreadable.record("sp.rec"));
        CSpSetDlg refusing;
        prompt.clear();
        click(&refusing, "importButton");
        QCOMPARE(dialogs.fileDialogs, 1); // the earlier one only
        QCOMPARE(prompt.shown().size(), std::size_t(1));
        QVERIFY(prompt.last().starts_with("Not a regular file"));
    }

    void previewFocusesOkOnlyWhenItCanApply() {
        const std::pair<std::string, const char*> cases[] = {
            {kCleanCsv, "okButton"},
            {kCsvWithBadRow, "previewTable"},
        };
        for (const auto& [csv, focused] : cases) {
            UiData data;
            data.write("sp.rec", kTwoRows);
            TempDir files;
            Prompt::Script prompt;
            Dialogs dialogs;
            dialogs.openFile = writeCsv(files, "in.csv", csv);
            CSpSetDlg screen;
            QString focus;
            dialogs.preview = [&](CSpImportDlg& preview) {
                preview.show();
                preview.activateWindow();
                if (QTest::qWaitForWindowActive(&preview) && preview.focusWidget())
                    focus = preview.focusWidget()->objectName();
                preview.hide();
            };
            click(&screen, "importButton");
            QCOMPARE(focus, QString::fromLatin1(focused));
        }
    }

    void exportWritesTheListAsShownAndReadsBack() {
        struct Case {
            const char* typed;
            const char* filter; // nullptr: the dialog's first kind (CSV)
            const char* written;
            bool workbook;
        };
        const Case cases[] = {
            {"out.csv", nullptr, "out.csv", false},
            {"out.xlsx", nullptr, "out.xlsx", true}, // the name decides, not the kind
            {"out", "Excel workbooks (*.xlsx)", "out.xlsx", true},
            {"out", "CSV (*.csv)", "out.csv", false},
        };
        for (const Case& c : cases) {
            TempDir files;
            std::vector<CommodityRecord> shown;
            {
                UiData data;
                // A Chinese name (苹果) goes out as UTF-8 and comes back as the same bytes.
                data.write("sp.rec",
                           "\xC6\xBB\xB9\xFB\f0012\f5.00\fYes\fweight\f0\f7\fNo\f0\f3\r\n" +
                               kTwoRows);
                Prompt::Script prompt;
                Dialogs dialogs;
                dialogs.saveFile = QString::fromStdString((files / c.typed).string());
                if (c.filter)
                    dialogs.saveFilter = QString::fromUtf8(c.filter);
                CSpSetDlg screen;
                auto* list = child<QTableView>(&screen, "commodityList");
                list->selectRow(2);
                click(&screen, "deleteButton"); // not saved: the export writes what is shown
                shown = screen.list().rows();
                click(&screen, "exportButton");
                QVERIFY2(prompt.shown() == std::vector<std::string>{"Exported 2 commodities"},
                         c.typed);
                const std::string bytes = test::readBytes(files / c.written);
                QVERIFY2(bytes.starts_with(c.workbook ? "PK" : "\xEF\xBB\xBF"), c.typed);
            }
            UiData empty;
            Prompt::Script prompt;
            Dialogs dialogs;
            dialogs.openFile = QString::fromStdString((files / c.written).string());
            dialogs.preview = [](CSpImportDlg& preview) { click(&preview, "okButton"); };
            CSpSetDlg screen;
            click(&screen, "importButton");
            QVERIFY2(screen.list().rows() == shown, c.typed);
        }

        // A file that cannot be written is told, and nothing claims success.
        UiData data;
        data.write("sp.rec", kTwoRows);
        TempDir files;
        test::writeBytes(files / "plain", "a file, not a folder");
        Prompt::Script prompt;
        Dialogs dialogs;
        dialogs.saveFile = QString::fromStdString((files / "plain" / "out.csv").string());
        CSpSetDlg screen;
        click(&screen, "exportButton");
        QCOMPARE(prompt.shown().size(), std::size_t(1));
        QVERIFY(!prompt.last().empty());
        QVERIFY(!prompt.last().starts_with("Exported"));
    }
};

QTEST_MAIN(CommodityImportUiTest)
#include "CommodityImportUiTest.moc"
