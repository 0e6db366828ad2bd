// A box filled from a file can hold more than its limit, or bytes that are not GBK: it can be
// shortened, but typing never leaves it longer or adds what cannot be written.
#include <QLineEdit>
#include <QTest>

#include "common/ui/ByteLimitValidator.h"
#include "support/UiType.h"

using namespace korvan;

class ByteLimitTest : public QObject {
    Q_OBJECT
private slots:
    void overlongTextCanOnlyShrinkUntilItFits() {
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
        // Replacing a selection with a longer text while over the limit is refused too.
        ByteLimitValidator::fill(&edit, QStringLiteral("abcdefgh"));
        edit.setSelection(0, 1);
        test::typeText(&edit, QStringLiteral("苹"));
        QCOMPARE(edit.text(), QStringLiteral("abcdefgh"));
    }

    void undecodableBytesMustGoBeforeTyping() {
        QLineEdit edit;
        ByteLimitValidator::apply(&edit, 10);
        ByteLimitValidator::fill(
            &edit, QStringLiteral("ab\uFFFD")); // a byte that is not GBK, shown as U+FFFD
        edit.setCursorPosition(3);
        test::typeText(&edit, QStringLiteral("c"));
        QCOMPARE(edit.text(), QStringLiteral("ab\uFFFD"));
        test::typeText(&edit, QStringLiteral("\uFFFD")); // nor can one be typed
        QCOMPARE(edit.text(), QStringLiteral("ab\uFFFD"));
        QTest::keyClick(&edit, Qt::Key_Backspace);
        test::typeText(&edit, QStringLiteral("c"));
        QCOMPARE(edit.text(), QStringLiteral("abc"));
    }
};

QTEST_MAIN(ByteLimitTest)
#include "ByteLimitTest.moc"
