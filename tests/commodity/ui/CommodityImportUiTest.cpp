// Import and export on the commodity screen, offscreen: the file dialogs and the preview are
// answered through the dialog seam, so the whole path from button to list and file is exercised.
#include <QCheckBox>
#include <QFileDialog>
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

QString cell(QTableView* view, int row, int column, int role = Qt::DisplayRole) {
    return view->model()->index(row, column).data(role).toString();
}

// The preview's columns: status, line, the ten fields (name, code, price, ...), the reason.
enum PreviewColumn { kStatus, kLine, kName, kCode, kPrice, kReason = 12 };

const std::string kTwoRows = "Apple\f1001\f5.00\fYes\fweight\f0\f7\fNo\f0\f3\r\n"
                             "Pear\f1002\f4.00\fNo\fquantity\f0\f5\fYes\f10\f4\r\n";
// Apple gets a new price, Melon is new, Plum has no code (line 4).
const std::string kCsvWithBadRow = "name,Commodity Code,Price\n"
                                   "Apple,1001,5.50\nMelon,2001,3.00\nPlum,,2.00\n";
const std::string kCleanCsv = "name,Commodity Code,Price\nApple,1001,5.50\nMelon,2001,3.00\n";

// Answers every dialog the screen runs: the file dialogs choose the given file, the preview runs
// `preview` and returns as it was left (Cancel unless OK was pressed), a transfer is counted.
struct Dialogs {
    QString openFile;   // empty: the import's file dialog is cancelled
    QString saveFile;   // the name typed into the export's save dialog
    QString saveFilter; // the kind chosen there (empty: the one it opens with)
    std::function<void(CSpImportDlg&)> preview;
    int fileDialogs = 0, previews = 0, transfers = 0;

    DialogRunner::Scope scope{[this](QDialog& dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            ++fileDialogs;
            const bool save = files->acceptMode() == QFileDialog::AcceptSave;
            if (save && !saveFilter.isEmpty()) {
                files->selectNameFilter(saveFilter);
                emit files->filterSelected(saveFilter); // as the operator's choice does
            }
            files->selectFile(save ? saveFile : openFile);
            return int((save ? saveFile : openFile).isEmpty() ? QDialog::Rejected
                                                              : QDialog::Accepted);
        }
        if (auto* import = dynamic_cast<CSpImportDlg*>(&dialog)) {
            ++previews;
            if (preview)
                preview(*import);
            return import->result();
        }
        transfers += dynamic_cast<CSendDataDlg*>(&dialog) != nullptr;
        return int(QDialog::Rejected);
    }};
};

QString writeFile(const TempDir& dir, const std::string& bytes) {
    test::writeBytes(dir / "in.csv", bytes);
    return QString::fromStdString((dir / "in.csv").string());
}

// The control that has the focus once the preview is up.
QString focusOnShow(CSpImportDlg& preview) {
    preview.show();
    preview.activateWindow();
    const bool active = QTest::qWaitForWindowActive(&preview);
    const QString focused =
        active && preview.focusWidget() ? preview.focusWidget()->objectName() : QString();
    preview.hide();
    return focused;
}

} // namespace

class CommodityImportUiTest : public QObject {
    Q_OBJECT
private slots:
    void rejectedRowsAreShownAndTakenOnlyOnRequest() {
        UiData data;
        data.write("sp.rec", kTwoRows);
        TempDir files;
        Prompt::Script prompt;
        Dialogs dialogs;
        dialogs.openFile = writeFile(files, kCsvWithBadRow);
        CSpSetDlg screen;
        // Below Download in the right column, and Tab walks down that column to OK.
        auto* import = child<QPushButton>(&screen, "importButton");
        auto* exportButton = child<QPushButton>(&screen, "exportButton");
        QCOMPARE(import->geometry(),
                 child<QPushButton>(&screen, "downloadButton")->geometry().translated(0, 71));
        QCOMPARE(exportButton->geometry(), import->geometry().translated(0, 44));
        QCOMPARE(child<QPushButton>(&screen, "downloadButton")->nextInFocusChain(), import);
        QCOMPARE(exportButton->nextInFocusChain(), child<QPushButton>(&screen, "okButton"));
        dialogs.preview = [&](CSpImportDlg& preview) {
            auto* table = child<QTableView>(&preview, "previewTable");
            const QStringList expected[] = {{"Update", "2", "Apple", "5.50"},
                                            {"Add", "3", "Melon", "3.00"},
                                            {"Rejected", "4", "Plum", "2.00"}};
            QCOMPARE(table->model()->rowCount(), 3);
            for (int row = 0; row < 3; ++row) {
                QCOMPARE(QStringList({cell(table, row, kStatus), cell(table, row, kLine),
                                      cell(table, row, kName), cell(table, row, kPrice)}),
                         expected[row]);
                // Only the rejected row stands out, and its empty code the most.
                QCOMPARE(table->model()->index(row, kCode).data(Qt::BackgroundRole).isValid(),
                         row == 2);
            }
            const auto background = [&](int column) {
                return table->model()->index(2, column).data(Qt::BackgroundRole).value<QColor>();
            };
            QVERIFY(background(kCode) != background(kName));
            QCOMPARE(cell(table, 2, kReason), QStringLiteral("Commodity Code Can't Be Empty"));
            QCOMPARE(cell(table, 2, kReason, Qt::ToolTipRole), cell(table, 2, kReason));

            // Nothing is taken while a row is rejected, unless the valid rows alone are asked for.
            auto* ok = child<QPushButton>(&preview, "okButton");
            auto* validOnly = child<QCheckBox>(&preview, "validOnlyCheck");
            QCOMPARE(focusOnShow(preview), QStringLiteral("previewTable"));
            QVERIFY(!ok->isEnabled());
            validOnly->click();
            QVERIFY(ok->isEnabled());
            ok->click();
        };
        click(&screen, "importButton");
        QCOMPARE(dialogs.previews, 1);

        auto* list = child<QTableView>(&screen, "commodityList");
        QCOMPARE(list->model()->rowCount(), 3);
        QCOMPARE(cell(list, 0, 2), QStringLiteral("5.50"));
        QCOMPARE(cell(list, 2, 0), QStringLiteral("Melon"));
        QVERIFY(screen.list().isModified());
        QCOMPARE(data.read("sp.rec"), kTwoRows); // nothing written yet

        // Unsaved like any other change: Download waits for Save.
        click(&screen, "downloadButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Please save the data first"});
        click(&screen, "saveButton");
        QCOMPARE(data.read("sp.rec"), "Apple\f1001\f5.50\fYes\fweight\f0\f7\fNo\f0\f3\r\n"
                                      "Pear\f1002\f4.00\fNo\fquantity\f0\f5\fYes\f10\f4\r\n"
                                      "Melon\f2001\f3.00\fYes\fweight\f0\f0\fNo\f0\f0\r\n");
        click(&screen, "downloadButton");
        QCOMPARE(dialogs.transfers, 1);
    }

    void replaceCancelAndRefusedFiles() {
        for (const bool accept : {true, false}) {
            UiData data;
            data.write("sp.rec", kTwoRows);
            TempDir files;
            Prompt::Script prompt;
            Dialogs dialogs;
            dialogs.openFile = writeFile(files, kCleanCsv);
            CSpSetDlg screen;
            dialogs.preview = [&](CSpImportDlg& preview) {
                auto* table = child<QTableView>(&preview, "previewTable");
                auto* summary = child<QLabel>(&preview, "summaryLabel");
                const QString merging = summary->text();
                QCOMPARE(cell(table, 0, kStatus), QStringLiteral("Update"));
                QCOMPARE(focusOnShow(preview), QStringLiteral("okButton"));
                child<QRadioButton>(&preview, "replaceRadio")->click();
                QCOMPARE(cell(table, 0, kStatus), QStringLiteral("Add")); // all new now
                QVERIFY(summary->text() != merging);
                click(&preview, accept ? "okButton" : "cancelButton");
            };
            click(&screen, "importButton");
            std::vector<std::string> names;
            for (const CommodityRecord& record : screen.list().rows())
                names.push_back(record.name);
            const std::vector<std::string> taken{"Apple", "Melon"}, kept{"Apple", "Pear"};
            QCOMPARE(names, accept ? taken : kept);
            QCOMPARE(screen.list().isModified(), accept);
        }

        // A file refused as a whole is told and never previewed; so is a list that could not
        // be read, before any file is chosen.
        UiData data;
        TempDir files;
        Prompt::Script prompt;
        Dialogs dialogs;
        dialogs.openFile = writeFile(files, "name,Price\nApple,5\n");
        CSpSetDlg screen;
        click(&screen, "importButton");
        QCOMPARE(dialogs.previews, 0);
        QVERIFY(prompt.last().starts_with("Required columns are missing"));

        // A file whose every row is rejected takes nothing, even valid rows only (replacing, it
        // would empty the list).
        dialogs.openFile = writeFile(files, "name,Commodity Code,Price\nPlum,,2\n");
        dialogs.preview = [](CSpImportDlg& preview) {
            child<QRadioButton>(&preview, "replaceRadio")->click();
            child<QCheckBox>(&preview, "validOnlyCheck")->click();
            QVERIFY(!child<QPushButton>(&preview, "okButton")->isEnabled());
        };
        click(&screen, "importButton");
        QCOMPARE(dialogs.previews, 1);

        std::filesystem::create_directories(data.record("sp.rec"));
        CSpSetDlg unreadable;
        click(&unreadable, "importButton");
        QCOMPARE(dialogs.fileDialogs, 2); // the first screen's only
        QVERIFY(prompt.last().starts_with("Not a regular file"));
    }

    void exportWritesTheListAsShownAndReadsBack() {
        const std::tuple<const char*, const char*, const char*> cases[] = {
            // typed, kind chosen, written: the name decides, a bare name takes the kind's
            {"out.xlsx", "", "out.xlsx"},
            {"out", "Excel workbooks (*.xlsx)", "out.xlsx"},
            {"out", "CSV (*.csv)", "out.csv"},
        };
        for (const auto& [typed, kind, written] : cases) {
            TempDir files;
            std::vector<CommodityRecord> shown;
            {
                UiData data;
                // 苹果: goes out as UTF-8 and comes back as the same bytes.
                data.write("sp.rec",
                           "\xC6\xBB\xB9\xFB\f0012\f5\fYes\fweight\f0\f7\fNo\f0\f3\r\n" + kTwoRows);
                Prompt::Script prompt;
                Dialogs dialogs;
                dialogs.saveFile = QString::fromStdString((files / typed).string());
                dialogs.saveFilter = QString::fromUtf8(kind);
                CSpSetDlg screen;
                child<QTableView>(&screen, "commodityList")->selectRow(2);
                click(&screen, "deleteButton"); // not saved: the export writes what is shown
                shown = screen.list().rows();
                click(&screen, "exportButton");
                QCOMPARE(prompt.shown(), std::vector<std::string>{"Exported 2 commodities"});
                const bool workbook = std::string(written).ends_with(".xlsx");
                QVERIFY(
                    test::readBytes(files / written).starts_with(workbook ? "PK" : "\xEF\xBB\xBF"));
            }
            UiData empty;
            Prompt::Script prompt;
            Dialogs dialogs;
            dialogs.openFile = QString::fromStdString((files / written).string());
            dialogs.preview = [](CSpImportDlg& preview) { click(&preview, "okButton"); };
            CSpSetDlg screen;
            QVERIFY(!screen.isWindowModified());
            click(&screen, "importButton");
            QVERIFY2(screen.list().rows() == shown, written);
            // The title marks the list as needing Save, until it is saved.
            QVERIFY(screen.isWindowModified());
            click(&screen, "saveButton");
            QVERIFY(!screen.isWindowModified());
        }

        // A file that cannot be written is told, and nothing claims success.
        UiData data;
        TempDir files;
        test::writeBytes(files / "plain", "a file, not a folder");
        Prompt::Script prompt;
        Dialogs dialogs;
        dialogs.saveFile = QString::fromStdString((files / "plain" / "out.csv").string());
        CSpSetDlg screen;
        click(&screen, "exportButton");
        QCOMPARE(prompt.shown().size(), std::size_t(1));
        QVERIFY(!prompt.last().empty() && !prompt.last().starts_with("Exported"));
    }
};

QTEST_MAIN(CommodityImportUiTest)
#include "CommodityImportUiTest.moc"
