// The byte limit on real boxes: a line edit and a multi-line box follow what they hold, so a text
// filled from a file over the limit can be shortened but not lengthened; a multi-line box undoes a
// refused edit and tells only the edits it took.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include "common/ui/ByteLimitValidator.h"
#include "support/UiType.h"

using namespace korvan;

class ByteLimitTest : public QObject {
    Q_OBJECT
private slots:
    void lineEditOverlongTextCanOnlyShrinkUntilItFits() {
        QLineEdit edit;
        ByteLimitValidator::apply(&edit, 6);
        ByteLimitValidator::fill(&edit, QStringLiteral("苹果梨x")); // 7 bytes, from a file
        edit.setCursorPosition(7);
        test::typeText(&edit, QStringLiteral("y"));
        QCOMPARE(edit.text(), QStringLiteral("苹果梨x")); // still over: refused
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), QStringLiteral("苹果梨")); // shorter: taken
        test::typeText(&edit, QStringLiteral("z"));
        QCOMPARE(edit.text(), QStringLiteral("苹果梨")); // at the limit now
        QTest::keyClick(&edit, Qt::Key_Backspace);
        test::typeText(&edit, QStringLiteral("zz"));
        QCOMPARE(edit.text(), QStringLiteral("苹果zz"));
    }

    void multiLineBoxUndoesARefusedEdit() {
        QPlainTextEdit box;
        QSignalSpy edited(ByteLimitValidator::apply(&box, 6), &ByteLimitValidator::edited);
        ByteLimitValidator::fill(&box, QStringLiteral("a\nbcdef")); // 8 bytes, from a file
        QCOMPARE(edited.count(), 0);
        box.moveCursor(QTextCursor::End);
        test::typeText(&box, QStringLiteral("g"));
        QCOMPARE(box.toPlainText(), QStringLiteral("a\nbcdef"));
        QTest::keyClick(&box, Qt::Key_Backspace);
        QTest::keyClick(&box, Qt::Key_Backspace);
        QCOMPARE(edited.count(), 2);
        QCOMPARE(edited.last().at(0).toString(), QStringLiteral("a\nbcd")); // 6 bytes: fits

        // A paste that does not fit is undone whole; the cursor stays where it began.
        box.moveCursor(QTextCursor::Start);
        box.insertPlainText(QStringLiteral("xy"));
        QCOMPARE(box.toPlainText(), QStringLiteral("a\nbcd"));
        QCOMPARE(box.textCursor().position(), 0);
        QCOMPARE(edited.count(), 2);
    }
};

QTEST_MAIN(ByteLimitTest)
#include "ByteLimitTest.moc"
