// The label designer and its file chooser offscreen, on the shipped labels: what a pick enables,
// dragging and the position boxes, the check boxes, the modified flag with Save, OK and Cancel,
// and opening another label file.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"
#include "labeldesign/LabelFile.h"
#include "labeldesign/ui/CBqSetDlg.h"
#include "labeldesign/ui/CDkbqwjDlg.h"
#include "labeldesign/ui/LabelCanvas.h"
#include "support/TempDir.h"
#include "support/UiData.h"
#include "support/UiFind.h"
#include "support/UiMouse.h"
#include "support/UiType.h"

using namespace korvan;
using korvan::test::child;
using korvan::test::mouse;
using korvan::test::UiData;

namespace {

// The shipped labels and record/dqlabel.rec in a fresh data folder.
struct LabelData : UiData {
    explicit LabelData(const std::string& language = kEnglish) : UiData(language) {
        if (!DataDir::current().seedFrom(DataDir::defaultsDir()))
            qFatal("cannot copy the shipped labels");
    }
    std::filesystem::path label(const char* name) const { return DataDir::current().label(name); }
};

QPoint centreOf(const CBqSetDlg& screen, int row) {
    const PixelRect& r = screen.design().geometry().entry(static_cast<std::size_t>(row)).rect;
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void pick(CBqSetDlg& screen, int row) {
    auto* canvas = child<LabelCanvas>(&screen, "canvas");
    mouse(canvas, QEvent::MouseButtonPress, centreOf(screen, row));
    mouse(canvas, QEvent::MouseButtonRelease, centreOf(screen, row));
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

const std::string& cell(const CBqSetDlg& screen, int row, LabelElement::Column column) {
    return screen.design().label().elements[static_cast<std::size_t>(row)].at(column);
}

const char* const kSaveFirst = "Please save the data first!";

} // namespace

class LabelDesignerTest : public QObject {
    Q_OBJECT
private slots:
    void opensTheLanguagesLabelWithThePanelOff() {
        LabelData data(kChinese);
        CBqSetDlg screen;
        QCOMPARE(screen.windowTitle(), QStringLiteral("标签设置"));
        QCOMPARE(screen.labelFile(), data.label("2chn.bel"));
        auto* list = child<QTableView>(&screen, "elementList");
        QCOMPARE(list->model()->rowCount(), 24);
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("名称"));
        QCOMPARE(list->model()->headerData(9, Qt::Horizontal).toString(), QStringLiteral("Down.Y"));
        QCOMPARE(list->model()->index(12, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QCOMPARE(child<QLineEdit>(&screen, "heightEdit")->text(), QStringLiteral("30"));
        for (const char* name : {"nameEdit", "xEdit", "yEdit"})
            QVERIFY(!child<QWidget>(&screen, name)->isEnabled());
        QVERIFY(!child<QPushButton>(&screen, "newButton")->isEnabled());
        QVERIFY(!child<QPushButton>(&screen, "changeButton")->isEnabled());
        Prompt::Script prompt;
        click(child<QPushButton>(&screen, "okButton"));
        QCOMPARE(screen.result(), int(QDialog::Accepted));
        QVERIFY(prompt.shown().empty());
    }

    void pickEnablesWhatTheRowMayChange_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("enabled"); // n name, d direction, s font size, c code height
        QTest::newRow("free text, big font") << 0 << "nds";
        QTest::newRow("name filled by the scale") << 2 << "ds";
        QTest::newRow("small font: one size") << 3 << "nd";
        QTest::newRow("bar code") << 9 << "dc";
    }
    void pickEnablesWhatTheRowMayChange() {
        QFETCH(int, row);
        QFETCH(QString, enabled);
        LabelData data;
        CBqSetDlg screen;
        pick(screen, row);
        QCOMPARE(screen.design().selected(), std::optional<std::size_t>(row));
        QCOMPARE(child<QLineEdit>(&screen, "nameEdit")->isEnabled(), enabled.contains('n'));
        QCOMPARE(child<QComboBox>(&screen, "directionBox")->isEnabled(), enabled.contains('d'));
        QCOMPARE(child<QComboBox>(&screen, "fontSizeBox")->isEnabled(), enabled.contains('s'));
        QCOMPARE(child<QComboBox>(&screen, "codeHeightBox")->isEnabled(), enabled.contains('c'));
        QVERIFY(!child<QComboBox>(&screen, "fontBox")->isEnabled());
        QVERIFY(!child<QComboBox>(&screen, "digitalFontBox")->isEnabled());
        QVERIFY(child<QLineEdit>(&screen, "xEdit")->isEnabled());
        QCOMPARE(child<QLineEdit>(&screen, "xEdit")->text(),
                 QString::fromStdString(cell(screen, row, LabelElement::XPos)));
        QCOMPARE(child<QTableView>(&screen, "elementList")->currentIndex().row(), row);
        QVERIFY(!screen.design().modified());
    }

    void dragThenSaveBeforeOkCloses() {
        LabelData data;
        CBqSetDlg screen;
        Prompt::Script prompt;
        auto* canvas = child<LabelCanvas>(&screen, "canvas");
        const QPoint start = centreOf(screen, 0); // "Korvan Fresh Market" at (2, 1) mm
        mouse(canvas, QEvent::MouseButtonPress, start);
        mouse(canvas, QEvent::MouseMove, start + QPoint(7, 0));
        QCOMPARE(child<QLineEdit>(&screen, "xEdit")->text(), QStringLiteral("3"));
        mouse(canvas, QEvent::MouseMove, start + QPoint(10, 11));
        QCOMPARE(child<QLineEdit>(&screen, "xEdit")->text(), QStringLiteral("4"));
        QCOMPARE(child<QLabel>(&screen, "anchorY")->text(), QStringLiteral("3"));
        QCOMPARE(child<QLabel>(&screen, "leftValue")->text(), QStringLiteral("4"));
        QCOMPARE(cell(screen, 0, LabelElement::XPos), std::string("2")); // written on release only
        mouse(canvas, QEvent::MouseButtonRelease, start + QPoint(10, 11));
        QCOMPARE(cell(screen, 0, LabelElement::DownX), std::string("4"));
        QCOMPARE(cell(screen, 0, LabelElement::YPos), std::string("3"));

        prompt.choose(2); // Cancel: the screen stays
        click(child<QPushButton>(&screen, "okButton"));
        QCOMPARE(prompt.last(), std::string("Save the changes?"));
        QCOMPARE(screen.result(), 0);
        click(child<QPushButton>(&screen, "downloadButton"));
        QCOMPARE(prompt.shown().size(), 2u);
        QCOMPARE(prompt.last(), std::string(kSaveFirst));

        click(child<QPushButton>(&screen, "saveButton"));
        QCOMPARE(prompt.last(), std::string("Save completed"));
        const Label saved = LabelFile::load(data.label("2eng.bel")).value;
        QCOMPARE(saved.elements[0].at(LabelElement::DownY), std::string("3"));
        click(child<QPushButton>(&screen, "okButton"));
        QCOMPARE(screen.result(), int(QDialog::Accepted));
    }

    void enterInXPosMovesTheElementAndTheFocus() {
        LabelData data;
        CBqSetDlg screen;
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        pick(screen, 3);
        auto* x = child<QLineEdit>(&screen, "xEdit");
        x->setFocus();
        x->selectAll();
        test::typeText(x, QStringLiteral("12"));
        QCOMPARE(cell(screen, 3, LabelElement::XPos), std::string("2")); // nothing until Enter
        QTest::keyClick(x, Qt::Key_Return);
        QCOMPARE(cell(screen, 3, LabelElement::XPos), std::string("12"));
        QCOMPARE(cell(screen, 3, LabelElement::DownX), std::string("12"));
        QCOMPARE(child<QLabel>(&screen, "anchorX")->text(), QStringLiteral("12"));
        QCOMPARE(screen.design().geometry().entry(3).rect.left, 12 * 5 + 25);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(&screen, "yEdit"));
        QVERIFY2(screen.isVisible(), "Enter never closes the designer");
        QVERIFY(screen.design().modified());
        screen.reject();
    }

    void listClickPicksTheElement() {
        LabelData data;
        CBqSetDlg screen;
        auto* canvas = child<LabelCanvas>(&screen, "canvas");
        mouse(canvas, QEvent::MouseButtonPress, centreOf(screen, 3));
        mouse(canvas, QEvent::MouseMove, centreOf(screen, 3) + QPoint(20, 0));
        mouse(canvas, QEvent::MouseMove, {-5, 5});
        QCOMPARE(child<QLineEdit>(&screen, "xEdit")->text(), QStringLiteral("2")); // the row's
        auto* list = child<QTableView>(&screen, "elementList");
        emit list->clicked(list->model()->index(0, 0)); // "Korvan Fresh Market" at (2, 1) mm
        QCOMPARE(screen.design().selected(), std::optional<std::size_t>(0));
        QCOMPARE(child<QLineEdit>(&screen, "yEdit")->text(), QStringLiteral("1"));
    }

    void clearingTheSelectedElementsBoxHidesIt() {
        LabelData data;
        CBqSetDlg screen;
        pick(screen, 0);
        const QPoint at = centreOf(screen, 0);
        auto* list = child<QTableView>(&screen, "elementList");
        QVERIFY(
            list->model()->setData(list->model()->index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
        QCOMPARE(cell(screen, 0, LabelElement::State), std::string("FALSE"));
        QVERIFY(!screen.design().selected());
        QCOMPARE(child<QLineEdit>(&screen, "nameEdit")->text(), QString());
        QVERIFY(!child<QLineEdit>(&screen, "xEdit")->isEnabled());
        QCOMPARE(child<QLabel>(&screen, "rightValue")->text(), QStringLiteral("0"));
        auto* canvas = child<LabelCanvas>(&screen, "canvas");
        mouse(canvas, QEvent::MouseButtonPress, at);
        QVERIFY2(!screen.design().selected(), "a hidden element is not picked");
        QVERIFY(
            list->model()->setData(list->model()->index(0, 0), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(cell(screen, 0, LabelElement::State), std::string("TRUE"));
    }

    void editsMarkTheLabelAndCancelDropsThem() {
        LabelData data;
        const std::string before = test::readBytes(data.label("2eng.bel"));
        {
            CBqSetDlg screen;
            pick(screen, 0);
            auto* name = child<QLineEdit>(&screen, "nameEdit");
            const int right = screen.design().geometry().entry(0).rect.right;
            name->setFocus();
            QTest::keyClick(name, Qt::Key_End);
            test::typeText(name, QStringLiteral("!"));
            QCOMPARE(cell(screen, 0, LabelElement::Name), std::string("Korvan Fresh Market!"));
            QCOMPARE(screen.design().geometry().entry(0).rect.right, right + 8);
            auto* direction = child<QComboBox>(&screen, "directionBox");
            direction->setCurrentIndex(1);
            emit direction->activated(1);
            QCOMPARE(cell(screen, 0, LabelElement::Direction), std::string("90"));
            QCOMPARE(cell(screen, 0, LabelElement::DownY), std::string("1"));
            Prompt::Script prompt;
            prompt.choose(1); // Discard
            click(child<QPushButton>(&screen, "cancelButton"));
            QCOMPARE(prompt.last(), std::string("Save the changes?"));
            QCOMPARE(screen.result(), int(QDialog::Rejected));
        }
        QCOMPARE(test::readBytes(data.label("2eng.bel")), before);
    }

    void chooserOpensTheLaterSelectedFile() {
        LabelData data;
        CBqSetDlg screen;
        Prompt::Script prompt;
        int rows = 0;
        QString firstCode, size;
        DialogRunner::Scope run([&](QDialog& dialog) {
            auto* list = child<QTableView>(&dialog, "fileList");
            rows = list->model()->rowCount();
            firstCode = list->model()->index(0, 0).data().toString();
            click(child<QPushButton>(&dialog, "openButton"));
            list->selectionModel()->select(list->model()->index(4, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
            list->selectionModel()->select(list->model()->index(2, 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
            emit list->clicked(list->model()->index(2, 0));
            size = child<QLineEdit>(&dialog, "widthEdit")->text() + "*" +
                   child<QLineEdit>(&dialog, "heightEdit")->text();
            click(child<QPushButton>(&dialog, "openButton"));
            return dialog.result();
        });
        click(child<QPushButton>(&screen, "openButton"));
        QCOMPARE(rows, 6);
        QCOMPARE(firstCode, QStringLiteral("1=56*35"));
        QCOMPARE(prompt.shown().front(), std::string("Please select the file first"));
        // Sorted: 1chn 1eng 2chn 2eng 3chn 3eng; rows 2 and 4 chosen, the later one opens.
        QCOMPARE(screen.labelFile(), data.label("3chn.bel"));
        QCOMPARE(size, QStringLiteral("60*40"));
        QCOMPARE(child<QLineEdit>(&screen, "heightEdit")->text(), QStringLiteral("40"));
        QVERIFY(screen.design().modified());
        click(child<QPushButton>(&screen, "downloadButton"));
        QCOMPARE(prompt.last(), std::string(kSaveFirst));

        // With changes on screen, opening another file asks first; No keeps them.
        prompt.answer(false);
        DialogRunner::Scope again([&](QDialog& dialog) {
            auto* list = child<QTableView>(&dialog, "fileList");
            list->selectRow(0);
            emit list->clicked(list->model()->index(0, 0));
            click(child<QPushButton>(&dialog, "openButton"));
            return 0;
        });
        click(child<QPushButton>(&screen, "openButton"));
        QCOMPARE(screen.labelFile(), data.label("3chn.bel"));
    }

    void noHeightIsSaved() {
        LabelData data;
        Prompt::Script prompt;
        const std::string before = test::readBytes(data.label("2eng.bel"));
        CBqSetDlg screen;
        auto* height = child<QLineEdit>(&screen, "heightEdit");
        height->selectAll();
        QTest::keyClick(height, Qt::Key_Backspace);
        click(child<QPushButton>(&screen, "saveButton"));
        QCOMPARE(
            prompt.last(),
            std::string("The label height must be a whole number of mm from 20 to 99, not \"\""));
        QCOMPARE(test::readBytes(data.label("2eng.bel")), before);
    }
};

QTEST_MAIN(LabelDesignerTest)
#include "LabelDesignerTest.moc"
