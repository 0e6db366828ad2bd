// Leaving a screen that edits a file by each way out, with and without unsaved changes.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "app/CMainFrame.h"
#include "app/MenuCaptions.h"
#include "common/Prompt.h"
#include "support/UiData.h"
#include "support/UiFind.h"
#include "support/UiType.h"

using namespace korvan;
using namespace korvan::MenuCaptions;
using korvan::test::child;

namespace {
void type(QDialog& s, const char* box, const char* text) {
    child<QLineEdit>(&s, box)->selectAll();
    test::typeText(child<QLineEdit>(&s, box), QString::fromUtf8(text));
}
void click(QDialog& s, const char* button) {
    QTest::mouseClick(child<QPushButton>(&s, button), Qt::LeftButton);
}

struct Screen {
    int command;
    void (*edit)(QDialog&); // one unsaved change, made as the operator makes it
    const char* file;       // what Save writes
};
const Screen kScreens[] = {
    {UserSettings, [](QDialog& s) { type(s, "nameEdit", "ann"), click(s, "addButton"); },
     "record/yh.rec"},
    {CommoditySettings, [](QDialog& s) { click(s, "deleteAllButton"); }, "record/sp.rec"},
    {ScaleParameters, [](QDialog& s) { type(s, "shopPhoneEdit", "555"); }, "record/xpwz.rec"},
    {CommunicationSettings, [](QDialog& s) { type(s, "targetIpEdit", "10.1.2.3"); },
     "record/tx.rec"},
    {LabelSettings, [](QDialog& s) { type(s, "heightEdit", "35"); }, "label/2eng.bel"},
    {Scales,
     [](QDialog& s) {
         type(s, "nameEdit", "deli"), type(s, "portEdit", "COM7"), click(s, "addButton");
     },
     "record/scales.rec"},
    {CommodityDescription, // the last: it has no OK button
     [](QDialog& s) {
         child<QTableView>(&s, "descriptionList")->selectRow(0);
         emit child<QTableView>(&s, "descriptionList")->clicked({});
         type(s, "textEdit", "fresh");
     },
     "record/spsm.rec"},
};
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
        for (int s = 0; s < 7; ++s)
            for (int w = s == 6 ? Escape : Ok; w <= CloseBox; ++w)
                for (int a = Save; a <= NoChange; ++a)
                    QTest::addRow("screen %d, way %d, answer %d", s, w, a) << s << w << a;
    }

    void leavingAsksOnlyAboutUnsavedChanges() {
        QFETCH(int, screen);
        QFETCH(int, way);
        QFETCH(int, answer);
        test::UiData data;
        QVERIFY(DataDir::current().seedFrom(DataDir::defaultsDir()));
        data.write("sp.rec", "Pear\f1\f4\f3\fquantity\f0\f5\fYes\f1\f4\r\n");
        const Screen& spec = kScreens[screen];
        const auto file = DataDir::current().root() / spec.file;
        const std::string before = test::readBytes(file);
        Prompt::Script prompt;
        std::unique_ptr<QDialog> dialog(CMainFrame::screens().at(spec.command)(nullptr));
        dialog->show();
        if (answer != NoChange)
            spec.edit(*dialog);
        prompt.choose(static_cast<std::size_t>(answer == NoChange ? Cancel : answer));
        if (way == Ok)
            click(*dialog, "okButton");
        else if (way == Escape)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            dialog->close();

        const bool asked = !prompt.shown().empty() && prompt.shown().front() == "Save the changes?";
        QCOMPARE(asked, answer != NoChange);
        QCOMPARE(dialog->isVisible(), answer == Cancel);
        QCOMPARE(test::readBytes(file) != before, answer == Save);
    }
};

QTEST_MAIN(UnsavedChangesTest)
#include "UnsavedChangesTest.moc"
