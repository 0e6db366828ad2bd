// The commodity list, the commodity editor and the description screen, offscreen.
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "commodity/ui/CSpEditDlg.h"
#include "commodity/ui/CSpSetDlg.h"
#include "commodity/ui/CSpsmSetDlg.h"
#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"
#include "support/UiData.h"
#include "support/UiFind.h"
#include "support/UiType.h"

using namespace korvan;
using korvan::test::UiData;

namespace {
using korvan::test::child;

void click(QWidget* parent, const char* button) {
    QTest::mouseClick(child<QPushButton>(parent, button), Qt::LeftButton);
}

void clickRow(QTableView* view, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, rect.center());
}

// As the mouse does it: a click, then the second press that makes it a double-click.
void doubleClickAt(QTableView* view, QPoint point) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, point);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, point);
}

void doubleClickRow(QTableView* view, int row) {
    doubleClickAt(view, view->visualRect(view->model()->index(row, 0)).center());
}

QString cellText(QTableView* view, int row, int column) {
    return view->model()->index(row, column).data().toString();
}

// "Apple" twice (rows 0 and 2) and "Pear".
const std::string kThreeRows = "Apple\f1001\f5.00\fYes\fweight\f0\f7\fNo\f0\f3\r\n"
                               "Pear\f1002\f4.00\fNo\fquantity\f0\f5\fYes\f10\f4\r\n"
                               "Apple\f1003\f6.00\fYes\fweight\f0\f7\fNo\f0\f5\r\n";

// What the commodity editor showed each time the list screen opened it.
struct EditorRuns {
    struct Run {
        CommodityForm form;
        bool updating = false;
        std::size_t chosenIndex = 0;
    };
    std::vector<Run> runs;
    // Runs inside the editor before it returns (it closes without a Save unless this saves).
    std::function<void(CSpEditDlg&)> inside;

    // Every other dialog runs as the program runs it.
    void attach(CSpSetDlg& screen) {
        scope = std::make_unique<DialogRunner::Scope>([this, &screen](QDialog& dialog) {
            auto* editor = dynamic_cast<CSpEditDlg*>(&dialog);
            if (!editor)
                return DialogRunner::modal(dialog);
            runs.push_back(
                {editor->form(), screen.list().editorUpdates(), screen.list().chosenIndex()});
            if (inside)
                inside(*editor);
            return editor->result();
        });
    }
    std::unique_ptr<DialogRunner::Scope> scope;
};

void showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
}
} // namespace

class CommodityUiTest : public QObject {
    Q_OBJECT
private slots:
    void captionsColumnsAndChoiceWordsInEveryLanguage() {
        for (const char* flag : {kChinese, kEnglish, "French"}) {
            const bool zh = std::string(flag) == kChinese; // anything else shows English
            auto pick = [zh](const char* chinese, const char* english) {
                return QString::fromUtf8(zh ? chinese : english);
            };
            UiData data(flag);
            // Choice words of the other language read the same (不变价).
            data.write("sp.rec",
                       "Pear\f1\f4\f\xB2\xBB\xB1\xE4\xBC\xDB\fquantity\f0\f5\fYes\f1\f4\r\n");
            CSpSetDlg screen;
            auto* list = child<QTableView>(&screen, "commodityList");
            QCOMPARE(screen.windowTitle(), pick("商品设置[*]", "Commodity Settings[*]"));
            QCOMPARE(child<QLabel>(&screen, "listCaption")->text(),
                     pick("商品列表<双击选中行编辑商品>", "List<Double-click Edit Commodities>"));
            QCOMPARE(child<QLabel>(&screen, "nameLabel")->text(), pick("商品名", "Name"));
            QCOMPARE(child<QPushButton>(&screen, "deleteAllButton")->text(),
                     pick("删除全部", "Delete All"));
            QCOMPARE(child<QPushButton>(&screen, "downloadButton")->text(),
                     pick("下传", "Download"));
            QCOMPARE(child<QPushButton>(&screen, "importButton")->text(), pick("导入…", "Import…"));
            QCOMPARE(child<QPushButton>(&screen, "exportButton")->text(), pick("导出…", "Export…"));
            QVERIFY(child<QRadioButton>(&screen, "vamoRadio")->isChecked());
            const QStringList headers =
                zh ? QStringList{"商品名", "商品编码",  "单价",     "可否变价", "模式",
                                 "皮重_g", "保质期_天", "可否打折", "折扣率_%", "商品说明"}
                   : QStringList{"name",   "Commodity Code", "Price",    "change", "model",
                                 "tare_g", "EXP_day",        "Discount", "rate_%", "careful"};
            const int widths[] = {125, 115, 60, 70, 70, 60, 75, 80, 70, 80};
            for (int column = 0; column < 10; ++column) {
                QCOMPARE(list->model()->headerData(column, Qt::Horizontal).toString(),
                         headers[column]);
                QCOMPARE(list->columnWidth(column), widths[column]);
            }
            QCOMPARE(cellText(list, 0, 3), pick("不变价", "No"));
            QCOMPARE(cellText(list, 0, 4), pick("数量", "quantity"));
            QCOMPARE(cellText(list, 0, 7), pick("可打折", "Yes"));

            // The editor, opened by New on a new record: its choices sorted as the language
            // sorts their words, each showing the new record's value.
            EditorRuns editor;
            editor.attach(screen);
            editor.inside = [&](CSpEditDlg& dialog) {
                QCOMPARE(dialog.windowTitle(), pick("商品设置", "Commodity Settings"));
                QCOMPARE(child<QGroupBox>(&dialog, "editorGroup")->title(),
                         pick("商品编辑", "Commodity Editor"));
                QCOMPARE(child<QLabel>(&dialog, "priceChangeLabel")->text(),
                         pick("可否变价", "change price"));
                QCOMPARE(child<QLabel>(&dialog, "shelfLifeUnit")->text(), pick("天", "day"));
                QCOMPARE(child<QPushButton>(&dialog, "clearButton")->text(), pick("清空", "Clear"));
                const std::tuple<const char*, QStringList, int> boxes[] = {
                    {"priceChangeBox", {pick("不变价", "No"), pick("可变价", "Yes")}, 1},
                    {"salesModeBox",
                     {pick("称重", "quantity"), pick("数量", "weight")},
                     zh ? 0 : 1},
                    {"discountBox", {pick("不打折", "No"), pick("可打折", "Yes")}, 0}};
                for (const auto& [box, items, current] : boxes) {
                    auto* combo = child<QComboBox>(&dialog, box);
                    QVERIFY(!combo->isEditable());
                    QCOMPARE(QStringList({combo->itemText(0), combo->itemText(1)}), items);
                    QCOMPARE(combo->currentIndex(), current);
                }
                QCOMPARE(child<QLineEdit>(&dialog, "tareEdit")->text(), QStringLiteral("0"));
            };
            click(&screen, "newButton");
            QCOMPARE(editor.runs.size(), std::size_t(1));

            data.write("spsm.rec", "7\fFresh\r\n");
            CSpsmSetDlg descriptions;
            auto* entries = child<QTableView>(&descriptions, "descriptionList");
            QCOMPARE(descriptions.windowTitle(), pick("商品说明", "Commodity description"));
            QCOMPARE(child<QLabel>(&descriptions, "listCaption")->text(),
                     pick("商品说明列表", "List of Product Descriptions"));
            QCOMPARE(child<QPushButton>(&descriptions, "saveButton")->text(), pick("保存", "Save"));
            const QStringList descriptionHeaders{pick("序号", "number"),
                                                 pick("商品说明文字", "Commodity description"),
                                                 pick("文本", "description")};
            const int descriptionWidths[] = {60, 350, 80};
            for (int column = 0; column < 3; ++column) {
                QCOMPARE(entries->model()->headerData(column, Qt::Horizontal).toString(),
                         descriptionHeaders[column]);
                QCOMPARE(entries->columnWidth(column), descriptionWidths[column]);
            }
            QCOMPARE(cellText(entries, 0, 2), QStringLiteral(" 7"));
            QCOMPARE(child<QLabel>(&descriptions, "numberLabel")->text(), QStringLiteral("0"));
            QCOMPARE(descriptions.findChildren<QPushButton*>().size(), 2); // no OK, no Cancel
        }
    }

    void findMatchesWholeNamesAndTheUpperRow() {
        UiData data;
        data.write("sp.rec", kThreeRows);
        Prompt::Script prompt;
        CSpSetDlg screen;
        EditorRuns editor;
        editor.attach(screen);
        auto* name = child<QLineEdit>(&screen, "nameEdit");

        click(&screen, "findButton");
        QCOMPARE(prompt.last(), std::string("Commodity name can't be empty"));
        QTest::keyClicks(name, "App");
        click(&screen, "findButton");
        QCOMPARE(prompt.last(), std::string("Can't find"));
        QVERIFY(editor.runs.empty());
        QVERIFY(!screen.list().hasChosen());

        QTest::keyClicks(name, "le");
        prompt.clear();
        click(&screen, "findButton");
        QVERIFY(prompt.shown().empty());
        QCOMPARE(editor.runs.size(), std::size_t(1));
        QVERIFY(editor.runs[0].updating);
        QCOMPARE(editor.runs[0].chosenIndex, std::size_t(0));
        QCOMPARE(editor.runs[0].form.code, std::string("1001"));

        // A click puts the row's name into the box; Find then edits that very row (the first of
        // its name).
        clickRow(child<QTableView>(&screen, "commodityList"), 1);
        QCOMPARE(name->text(), QStringLiteral("Pear"));
        click(&screen, "findButton");
        QCOMPARE(editor.runs.back().chosenIndex, std::size_t(1));
        QCOMPARE(editor.runs.back().form.code, std::string("1002"));

        // A name and an empty list: not found, nothing chosen.
        click(&screen, "deleteAllButton");
        click(&screen, "findButton");
        QCOMPARE(prompt.last(), std::string("Can't find"));
        QVERIFY(!screen.list().hasChosen());
    }

    void clicksDoubleClicksAndNewTakeTheirRows() {
        UiData data;
        data.write("sp.rec", kThreeRows);
        Prompt::Script prompt;
        CSpSetDlg screen;
        showActive(&screen);
        EditorRuns editor;
        editor.attach(screen);
        auto* list = child<QTableView>(&screen, "commodityList");
        auto* name = child<QLineEdit>(&screen, "nameEdit");

        // Several rows selected: the lowest is chosen by a click, the highest by a double-click.
        clickRow(list, 2);
        clickRow(list, 1, Qt::ControlModifier);
        QVERIFY(screen.list().hasChosen());
        QCOMPARE(screen.list().chosenIndex(), std::size_t(1));
        QCOMPARE(name->text(), QStringLiteral("Pear"));

        // New after a click: adding, with the chosen row as the template.
        click(&screen, "newButton");
        QCOMPARE(editor.runs.size(), std::size_t(1));
        QVERIFY(!editor.runs[0].updating);
        QCOMPARE(editor.runs[0].form.code, std::string("1002"));
        QCOMPARE(editor.runs[0].form.salesMode, std::optional(SalesMode::Quantity));
        QVERIFY(!screen.list().hasChosen());

        // New again, nothing chosen now: a new record.
        click(&screen, "newButton");
        QCOMPARE(editor.runs[1].form, CommodityForm::cleared());

        // Double-click on a row edits it.
        doubleClickRow(list, 0);
        QCOMPARE(editor.runs.size(), std::size_t(3));
        QVERIFY(editor.runs[2].updating);
        QCOMPARE(editor.runs[2].chosenIndex, std::size_t(0));

        // Below the last row nothing is selected: the double-click opens the editor to add.
        const QPoint empty(10, list->viewport()->height() - 5);
        doubleClickAt(list, empty);
        QCOMPARE(editor.runs.size(), std::size_t(4));
        QVERIFY(!editor.runs[3].updating);
        QCOMPARE(editor.runs[3].form, CommodityForm::cleared());

        // A chosen row survives Delete All; a click on the empty list clears it, so New no
        // longer copies it.
        clickRow(list, 1);
        QVERIFY(screen.list().hasChosen());
        click(&screen, "deleteAllButton");
        QVERIFY(screen.list().hasChosen());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, empty);
        QVERIFY(!screen.list().hasChosen());
        click(&screen, "newButton");
        QCOMPARE(editor.runs.back().form, CommodityForm::cleared());
    }

    void deleteGuardsDownloadAndSaveOfAnEmptyList() {
        UiData data;
        data.write("sp.rec", kThreeRows);
        Prompt::Script prompt;
        CSpSetDlg screen;
        auto* list = child<QTableView>(&screen, "commodityList");

        // Delete with nothing selected still counts as a change.
        click(&screen, "deleteButton");
        QCOMPARE(list->model()->rowCount(), 3);
        click(&screen, "downloadButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Please save the data first"});

        list->selectRow(0);
        clickRow(list, 2, Qt::ControlModifier);
        click(&screen, "deleteButton");
        QCOMPARE(list->model()->rowCount(), 1);
        QCOMPARE(cellText(list, 0, 0), QStringLiteral("Pear"));
        QCOMPARE(data.read("sp.rec"), kThreeRows); // nothing saved yet

        click(&screen, "saveButton");
        QCOMPARE(prompt.last(), std::string("Save completed"));
        QCOMPARE(data.read("sp.rec"),
                 std::string("Pear\f1002\f4.00\fNo\fquantity\f0\f5\fYes\f10\f4\r\n"));

        // Delete All and Save: an empty file, no message, and Download still refuses.
        prompt.clear();
        click(&screen, "deleteAllButton");
        QCOMPARE(list->model()->rowCount(), 0);
        click(&screen, "saveButton");
        QVERIFY(prompt.shown().empty());
        QCOMPARE(data.read("sp.rec"), std::string());
        click(&screen, "downloadButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Please save the data first"});
    }

    void editorSaveUpdatesAddsAndWrites() {
        UiData data(kChinese);
        data.write("sp.rec", kThreeRows);
        Prompt::Script prompt;
        CSpSetDlg screen;
        showActive(&screen);
        EditorRuns editor;
        editor.attach(screen);
        auto* list = child<QTableView>(&screen, "commodityList");
        auto* name = child<QLineEdit>(&screen, "nameEdit");

        // Update row 1 by double-click: change the price, the sales mode and the description
        // number (above 32 is fine when updating).
        editor.inside = [&](CSpEditDlg& dialog) {
            auto* price = child<QLineEdit>(&dialog, "unitPriceEdit");
            price->selectAll();
            QTest::keyClicks(price, "4.20");
            auto* mode = child<QComboBox>(&dialog, "salesModeBox");
            QCOMPARE(mode->currentText(), QStringLiteral("数量"));
            mode->setCurrentIndex(mode->findText(QStringLiteral("称重")));
            auto* description = child<QLineEdit>(&dialog, "descriptionEdit");
            description->selectAll();
            QTest::keyClicks(description, "45");
            click(&dialog, "saveButton");
        };
        doubleClickRow(list, 1);
        QVERIFY(prompt.shown().empty());
        QCOMPARE(cellText(list, 1, 2), QStringLiteral("4.20"));
        QCOMPARE(cellText(list, 1, 4), QStringLiteral("称重"));
        QCOMPARE(cellText(list, 1, 9), QStringLiteral("45"));
        QVERIFY(name->text().isEmpty());
        QVERIFY(!screen.list().isModified());
        QVERIFY(list->selectionModel()->isRowSelected(1, {}));
        QVERIFY(data.read("sp.rec").find("Pear\f1002\f4.20\fNo\fweight\f0\f5\fYes\f10\f45\r\n") !=
                std::string::npos);

        // Adding with 45 is refused; the list was saved, so the editor stays open.
        bool stillOpen = false;
        editor.inside = [&](CSpEditDlg& dialog) {
            dialog.show();
            QTest::keyClicks(child<QLineEdit>(&dialog, "nameEdit"), "Kiwi");
            QTest::keyClicks(child<QLineEdit>(&dialog, "codeEdit"), "1004");
            QTest::keyClicks(child<QLineEdit>(&dialog, "unitPriceEdit"), "9");
            auto* description = child<QLineEdit>(&dialog, "descriptionEdit");
            description->selectAll();
            QTest::keyClicks(description, "45");
            click(&dialog, "saveButton");
            QCOMPARE(prompt.last(), std::string("商品说明不能大于32"));
            stillOpen = dialog.isVisible();
            description->selectAll();
            QTest::keyClicks(description, "32");
            click(&dialog, "saveButton");
        };
        click(&screen, "newButton");
        QVERIFY(stillOpen);
        QCOMPARE(list->model()->rowCount(), 4);
        QCOMPARE(cellText(list, 3, 0), QStringLiteral("Kiwi"));
        QCOMPARE(cellText(list, 3, 3), QStringLiteral("可变价"));
        QVERIFY(data.read("sp.rec").ends_with("Kiwi\f1004\f9\fYes\fweight\f0\f0\fNo\f0\f32\r\n"));

        // Clear while updating, fill every box, Save: the chosen row is replaced.
        editor.inside = [&](CSpEditDlg& dialog) {
            click(&dialog, "clearButton");
            QVERIFY(child<QLineEdit>(&dialog, "codeEdit")->text().isEmpty());
            QTest::keyClicks(child<QLineEdit>(&dialog, "nameEdit"), "Fig");
            QTest::keyClicks(child<QLineEdit>(&dialog, "codeEdit"), "7");
            QTest::keyClicks(child<QLineEdit>(&dialog, "unitPriceEdit"), "1");
            child<QComboBox>(&dialog, "discountBox")->setCurrentIndex(1); // 可打折
            click(&dialog, "saveButton");
        };
        clickRow(list, 0);
        click(&screen, "findButton");
        QCOMPARE(list->model()->rowCount(), 4);
        QCOMPARE(cellText(list, 0, 0), QStringLiteral("Fig"));
        QCOMPARE(cellText(list, 0, 7), QStringLiteral("可打折"));

        // Escape leaves the list, the file and the chosen row alone.
        const std::string saved = data.read("sp.rec");
        editor.inside = [&](CSpEditDlg& dialog) {
            dialog.show();
            QTest::keyClicks(child<QLineEdit>(&dialog, "nameEdit"), "X");
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
        };
        doubleClickRow(list, 2);
        QCOMPARE(data.read("sp.rec"), saved);
        QCOMPARE(cellText(list, 2, 0), QStringLiteral("Apple"));
        QVERIFY(screen.list().hasChosen());
        QCOMPARE(screen.list().chosenIndex(), std::size_t(2));
    }

    void enterNeverSavesOrCloses() {
        UiData data;
        data.write("sp.rec", kThreeRows);
        Prompt::Script prompt;
        CSpSetDlg screen;
        showActive(&screen);
        EditorRuns editor;
        editor.attach(screen);

        const char* const order[] = {"nameEdit",        "codeEdit",     "unitPriceEdit",
                                     "priceChangeBox",  "salesModeBox", "tareEdit",
                                     "shelfLifeEdit",   "discountBox",  "discountRateEdit",
                                     "descriptionEdit", "saveButton"};
        editor.inside = [&](CSpEditDlg& dialog) {
            // The focus moves inside the editor whether or not the window system made it active.
            dialog.show();
            child<QLineEdit>(&dialog, "nameEdit")->setFocus();
            QTest::keyClicks(child<QLineEdit>(&dialog, "nameEdit"), "Plum");
            for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
                QCOMPARE(dialog.focusWidget()->objectName(), QString::fromLatin1(order[i]));
                QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
                QVERIFY(dialog.isVisible());
            }
            QCOMPARE(dialog.focusWidget()->objectName(), QStringLiteral("saveButton"));
            QCOMPARE(dialog.form().name, std::string("Plum"));
            QCOMPARE(data.read("sp.rec"), kThreeRows);
            dialog.reject();
        };
        click(&screen, "newButton");
        QCOMPARE(editor.runs.size(), std::size_t(1));
        QVERIFY(prompt.shown().empty());

        // In the list screen Enter in the Name box moves on; OK closes only with the focus.
        auto* name = child<QLineEdit>(&screen, "nameEdit");
        name->setFocus();
        QTest::keyClicks(name, "Pear");
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(screen.isVisible());
        QCOMPARE(screen.focusWidget()->objectName(), QStringLiteral("findButton"));
        QCOMPARE(editor.runs.size(), std::size_t(1));
        child<QTableView>(&screen, "commodityList")->setFocus();
        QTest::keyClick(screen.focusWidget(), Qt::Key_Return);
        QVERIFY(screen.isVisible());
        auto* ok = child<QPushButton>(&screen, "okButton");
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Return);
        QVERIFY(!screen.isVisible());
        QCOMPARE(screen.result(), int(QDialog::Accepted));
        QCOMPARE(data.read("sp.rec"), kThreeRows);
    }

    void byteLimitsCountChineseAsTwo() {
        UiData data(kChinese);
        data.write("sp.rec", kThreeRows);
        Prompt::Script prompt;
        CSpSetDlg screen;
        EditorRuns editor;
        editor.attach(screen);
        auto* name = child<QLineEdit>(&screen, "nameEdit");
        test::typeText(name, QStringLiteral("一二三四五六七八九"));
        QCOMPARE(name->text(), QStringLiteral("一二三四五六七八"));
        QCOMPARE(screen.list().workingRecord().name.size(), std::size_t(16));
        name->clear();
        test::typeText(name, QStringLiteral("A한B"));
        QCOMPARE(name->text(), QStringLiteral("AB")); // code page 936 cannot hold it

        editor.inside = [&](CSpEditDlg& dialog) {
            const std::pair<const char*, QString> limits[] = {
                {"nameEdit", "苹果苹果苹果苹果"}, {"codeEdit", "1234567890123456"},
                {"unitPriceEdit", "一二三"},      {"tareEdit", "12345"},
                {"shelfLifeEdit", "天天"},        {"discountRateEdit", "折"},
                {"descriptionEdit", "12"}};
            for (const auto& [box, fits] : limits) {
                auto* edit = child<QLineEdit>(&dialog, box);
                edit->clear();
                test::typeText(edit, fits + QStringLiteral("9"));
                QCOMPARE(edit->text(), fits);
            }
            QCOMPARE(dialog.form().unitPrice, std::string("\xD2\xBB\xB6\xFE\xC8\xFD"));
            QCOMPARE(dialog.form().discountRate, std::string("\xD5\xDB"));
        };
        click(&screen, "newButton");
        QCOMPARE(editor.runs.size(), std::size_t(1));
    }

    void failedWritesAreShownAndKeepTheFlag() {
        UiData data;
        data.write("sp.rec", kThreeRows);
        Prompt::Script prompt;
        CSpSetDlg screen;
        EditorRuns editor;
        editor.attach(screen);
        click(&screen, "deleteButton");
        // The record folder turns into a file: nothing can be written below it.
        const auto folder = data.record("sp.rec").parent_path();
        std::filesystem::remove_all(folder);
        test::writeBytes(folder, "not a folder");
        prompt.choose(1); // the file is gone: overwrite, which fails
        click(&screen, "saveButton");
        QVERIFY(prompt.last().starts_with("Cannot write a file in the folder"));
        QVERIFY(screen.list().isModified());

        // The editor's write fails: the message is shown, the editor closes, the flag stays.
        editor.inside = [&](CSpEditDlg& dialog) {
            QTest::keyClicks(child<QLineEdit>(&dialog, "nameEdit"), "Kiwi");
            QTest::keyClicks(child<QLineEdit>(&dialog, "codeEdit"), "1");
            QTest::keyClicks(child<QLineEdit>(&dialog, "unitPriceEdit"), "1");
            prompt.clear();
            prompt.choose(1);
            click(&dialog, "saveButton");
            QCOMPARE(prompt.shown().size(), std::size_t(2)); // the question, then why
            QVERIFY(prompt.last().starts_with("Cannot write a file in the folder"));
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        };
        click(&screen, "newButton");
        QCOMPARE(screen.list().size(), std::size_t(4));
        QVERIFY(screen.list().isModified());

        // A file that cannot be read is reported once the screen shows, and never overwritten.
        UiData other;
        std::filesystem::create_directories(other.record("sp.rec")); // a folder in its place
        prompt.clear();
        CSpSetDlg unreadable;
        unreadable.show();
        QTRY_COMPARE(prompt.shown().size(), std::size_t(1));
        QVERIFY(prompt.last().starts_with("Not a regular file"));
        click(&unreadable, "saveButton");
        QVERIFY(std::filesystem::is_directory(other.record("sp.rec")));
        std::filesystem::create_directories(other.record("spsm.rec"));
        CSpsmSetDlg unreadableTexts;
        unreadableTexts.show();
        QTRY_COMPARE(prompt.shown().size(), std::size_t(3)); // the list's Save said it too
        click(&unreadableTexts, "downloadButton");           // refused: nothing sure to send
        QCOMPARE(prompt.shown().size(), std::size_t(4));
        QVERIFY(prompt.last().starts_with("Not a regular file"));
    }

    void descriptionEditsOnlyTheChosenRow() {
        UiData data;
        data.write("tx.rec", "\r\n"); // no link: a Download ends at once with an empty result
        data.write("spsm.rec", "1\fFresh\r\n2\f\r\n3\fOld text\r\n");
        Prompt::Script prompt;
        CSpsmSetDlg screen;
        showActive(&screen);
        auto* list = child<QTableView>(&screen, "descriptionList");
        auto* text = child<QLineEdit>(&screen, "textEdit");
        auto* number = child<QLabel>(&screen, "numberLabel");

        // Typing before any row was chosen goes nowhere; Download still runs.
        QTest::keyClicks(text, "lost");
        QVERIFY(!screen.list().isModified());
        QCOMPARE(cellText(list, 0, 1), QStringLiteral("Fresh"));
        click(&screen, "downloadButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{""});

        // A click shows the row (no edit); typing changes the row at once.
        clickRow(list, 2);
        clickRow(list, 1, Qt::ControlModifier);
        QCOMPARE(number->text(), QStringLiteral("2"));
        QVERIFY(text->text().isEmpty());
        QVERIFY(!screen.list().isModified());
        test::typeText(text, QStringLiteral("冷藏"));
        QCOMPARE(cellText(list, 1, 1), QStringLiteral("冷藏"));
        QVERIFY(screen.list().isModified());
        prompt.clear();
        click(&screen, "downloadButton");
        QCOMPARE(prompt.shown(), std::vector<std::string>{"Please save the data first"});

        // 30 bytes at most.
        text->clear();
        test::typeText(text, QString(16, QChar(0x9C9C))); // 鲜
        QCOMPARE(text->text().size(), 15);
        click(&screen, "saveButton");
        QCOMPARE(prompt.last(), std::string("Save completed"));
        QVERIFY(!screen.list().isModified());
        std::string fresh;
        for (int i = 0; i < 15; ++i)
            fresh += "\xCF\xCA";
        QCOMPARE(data.read("spsm.rec"), "1\fFresh\r\n2\f" + fresh + "\r\n3\fOld text\r\n");

        // Enter moves on and never closes; Escape closes without saving.
        text->setFocus();
        QTest::keyClicks(text, "x");
        QTest::keyClick(text, Qt::Key_Return);
        QVERIFY(screen.isVisible());
        QCOMPARE(screen.focusWidget()->objectName(), QStringLiteral("saveButton"));
        QTest::keyClick(&screen, Qt::Key_Escape);
        QVERIFY(!screen.isVisible());
        QCOMPARE(data.read("spsm.rec"), "1\fFresh\r\n2\f" + fresh + "\r\n3\fOld text\r\n");

        // Emptied entries: Save writes an empty file without a word.
        data.write("spsm.rec", "");
        CSpsmSetDlg empty;
        prompt.clear();
        click(&empty, "saveButton");
        QVERIFY(prompt.shown().empty());
        QCOMPARE(data.read("spsm.rec"), std::string());
    }
};

QTEST_MAIN(CommodityUiTest)
#include "CommodityUiTest.moc"
