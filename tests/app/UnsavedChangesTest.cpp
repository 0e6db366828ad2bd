// Leaving a screen that edits a file, with and without unsaved changes, by each way out.
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <memory>

#include "commodity/ui/CSpSetDlg.h"
#include "commodity/ui/CSpsmSetDlg.h"
#include "common/Prompt.h"
#include "labeldesign/ui/CBqSetDlg.h"
#include "link/ui/CTxSetDlg.h"
#include "records/ui/CCcsSetDlg.h"
#include "support/UiData.h"
#include "support/UiFind.h"
#include "support/UiType.h"
#include "users/ui/CYhSetDlg.h"

using namespace korvan;
using korvan::test::child;
using korvan::test::UiData;

namespace {

void type(QDialog& screen, const char* box, const QString& text) {
    auto* edit = child<QLineEdit>(&screen, box);
    edit->setFocus();
    edit->selectAll();
    test::typeText(edit, text);
}

void clickRow(QDialog& screen, const char* list, int row) {
    auto* view = child<QAbstractItemView>(&screen, list);
    const QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

struct Screen {
    const char* name;
    std::function<QDialog*()> make;
    std::function<void(QDialog&)> edit; // one unsaved change, made as the operator makes it
    const char* file;                   // what Save writes, under the data folder
    bool hasOk = true;
};

const std::vector<Screen>& screens() {
    static const std::vector<Screen> all{
        {"users", [] { return new CYhSetDlg; },
         [](QDialog& s) {
             type(s, "nameEdit", QStringLiteral("ann"));
             QTest::mouseClick(child<QPushButton>(&s, "addButton"), Qt::LeftButton);
         },
         "record/yh.rec"},
        {"commodities", [] { return new CSpSetDlg; },
         [](QDialog& s) {
             QTest::mouseClick(child<QPushButton>(&s, "deleteAllButton"), Qt::LeftButton);
         },
         "record/sp.rec"},
        {"descriptions", [] { return new CSpsmSetDlg; },
         [](QDialog& s) {
             clickRow(s, "descriptionList", 0);
             type(s, "textEdit", QStringLiteral("fresh"));
         },
         "record/spsm.rec", false},
        {"scale parameters", [] { return new CCcsSetDlg; },
         [](QDialog& s) { type(s, "shopPhoneEdit", QStringLiteral("5550123")); },
         "record/xpwz.rec"},
        {"communication", [] { return new CTxSetDlg; },
         [](QDialog& s) { type(s, "targetIpEdit", QStringLiteral("10.1.2.3")); }, "record/tx.rec"},
        {"label designer", [] { return new CBqSetDlg; },
         [](QDialog& s) { type(s, "heightEdit", QStringLiteral("35")); }, "label/2eng.bel"},
    };
    return all;
}

enum Way { Ok, Escape, CloseBox };
enum Answer { Save, Discard, Cancel, NoChange };

} // namespace

class UnsavedChangesTest : public QObject {
    Q_OBJECT
private slots:
    void leavingAsksOnlyAboutUnsavedChanges_data() {
        QTest::addColumn<int>("screen");
        QTest::addColumn<int>("way");
        QTest::addColumn<int>("answer");
        const char* ways[] = {"OK", "Escape", "close box"};
        const char* answers[] = {"Save", "Discard", "Cancel", "no change"};
        for (int s = 0; s < static_cast<int>(screens().size()); ++s)
            for (int w : {Ok, Escape, CloseBox})
                for (int a : {Save, Discard, Cancel, NoChange})
                    if (w != Ok || screens()[s].hasOk)
                        QTest::addRow("%s, %s, %s", screens()[s].name, ways[w], answers[a])
                            << s << w << a;
    }

    void leavingAsksOnlyAboutUnsavedChanges() {
        QFETCH(int, screen);
        QFETCH(int, way);
        QFETCH(int, answer);
        UiData data;
        QVERIFY(DataDir::current().seedFrom(DataDir::defaultsDir()));
        data.write("sp.rec", "Pear\f1\f4\f3\fquantity\f0\f5\fYes\f1\f4\r\n"); // one to delete
        const Screen& spec = screens()[static_cast<std::size_t>(screen)];
        const auto file = DataDir::current().root() / spec.file;
        const std::string before = test::readBytes(file);

        Prompt::Script prompt;
        std::unique_ptr<QDialog> dialog(spec.make());
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        QVERIFY2(prompt.shown().empty(), "the screen opened with a message");
        if (answer != NoChange)
            spec.edit(*dialog);
        prompt.choose(static_cast<std::size_t>(answer == NoChange ? Cancel : answer));

        if (way == Ok) {
            QTest::mouseClick(child<QPushButton>(dialog.get(), "okButton"), Qt::LeftButton);
        } else if (way == Escape) {
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        } else {
            dialog->close();
        }

        const bool asked = !prompt.shown().empty() && prompt.shown().front() == "Save the changes?";
        QCOMPARE(asked, answer != NoChange);
        QCOMPARE(dialog->isVisible(), answer == Cancel);
        QCOMPARE(test::readBytes(file) != before, answer == Save);
        if (answer == Save)
            QCOMPARE(dialog->result(), way == Ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
    }
};

QTEST_MAIN(UnsavedChangesTest)
#include "UnsavedChangesTest.moc"
