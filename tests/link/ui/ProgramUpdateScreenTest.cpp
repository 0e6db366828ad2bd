// The program update screen offscreen: Update waits for a file chosen on this visit, a cancelled
// choice says so, and the update goes over USB although the settings name the network.
#include <QFileDialog>
#include <QPushButton>
#include <QTest>

#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"
#include "link/ui/CCxsjDlg.h"
#include "support/UiData.h"
#include "support/UiFind.h"

using namespace korvan;
using korvan::test::child;

class ProgramUpdateScreenTest : public QObject {
    Q_OBJECT
private slots:
    void updateWaitsForAFileChosenHere() {
        test::UiData data(kChinese);
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        const auto image = data.record("scale.bin");
        test::writeBytes(image, std::string(130, '\x5A'));
        Prompt::Script prompt;
        bool accept = false;
        DialogRunner::Scope run([&](QDialog& dialog) {
            auto* files = qobject_cast<QFileDialog*>(&dialog);
            if (!files)
                return 0; // the transfer dialog: not run here
            files->selectFile(QString::fromStdString(image.string()));
            return accept ? int(QDialog::Accepted) : int(QDialog::Rejected);
        });
        {
            CCxsjDlg screen;
            QCOMPARE(screen.windowTitle(), QStringLiteral("程序更新"));
            auto* update = child<QPushButton>(&screen, "updateButton");
            QVERIFY(!update->isEnabled());
            QTest::mouseClick(child<QPushButton>(&screen, "openButton"), Qt::LeftButton);
            QCOMPARE(prompt.last(), std::string("打开文件错误"));
            QVERIFY(!update->isEnabled());
            accept = true;
            QTest::mouseClick(child<QPushButton>(&screen, "openButton"), Qt::LeftButton);
            QVERIFY(update->isEnabled());
            QCOMPARE(CCxsjDlg::updateFile(), image);
            QTest::mouseClick(update, Qt::LeftButton);
            QCOMPARE(prompt.last(), std::string("确定用 scale.bin (130 字节) 更新电子秤吗?"));
        }
        CCxsjDlg again;
        QVERIFY2(!child<QPushButton>(&again, "updateButton")->isEnabled(),
                 "a file from an earlier visit does not enable Update");
    }
};

QTEST_MAIN(ProgramUpdateScreenTest)
#include "ProgramUpdateScreenTest.moc"
