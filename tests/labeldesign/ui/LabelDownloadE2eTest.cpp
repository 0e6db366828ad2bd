// The designer's Download to the simulated scale over the loopback: an element moved on the
// canvas and saved reaches the scale at its new place, with the header and every other element.
#include <QPushButton>
#include <QTest>

#include "common/Prompt.h"
#include "labeldesign/ui/CBqSetDlg.h"
#include "labeldesign/ui/LabelCanvas.h"
#include "link/ui/CSendDataDlg.h"
#include "support/ScaleProcess.h"
#include "support/UiData.h"
#include "support/UiFind.h"
#include "support/UiMouse.h"

using namespace korvan;
using korvan::test::child;
using korvan::test::mouse;

class LabelDownloadE2eTest : public QObject {
    Q_OBJECT
private slots:
    void movedElementReachesTheScale() {
        test::UiData data;
        QVERIFY(DataDir::current().seedFrom(DataDir::defaultsDir()));
        data.write("tx.rec", "Network\r\nCOM1\r\n127.0.0.1\r\n");
        test::ScaleProcess scale(KORVAN_SCALE_PROGRAM);
        CSendDataDlg::setNetworkPorts({scale.reply, scale.port});
        Prompt::Script prompt;
        CBqSetDlg screen;

        // "Commodity name" (row 1) from (2, 5) mm three millimetres right and one down.
        const PixelRect& r = screen.design().geometry().entry(1).rect;
        const QPoint start((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        auto* canvas = child<LabelCanvas>(&screen, "canvas");
        mouse(canvas, QEvent::MouseButtonPress, start);
        mouse(canvas, QEvent::MouseMove, start + QPoint(16, 6));
        mouse(canvas, QEvent::MouseButtonRelease, start + QPoint(16, 6));
        QTest::mouseClick(child<QPushButton>(&screen, "saveButton"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(&screen, "downloadButton"), Qt::LeftButton);
        QCOMPARE(prompt.shown(),
                 (std::vector<std::string>{"Save completed", "25Data download completed"}));

        const std::string stored = scale.read("label.txt");
        QVERIFY2(stored.find("width\t40\n") != std::string::npos, stored.c_str());
        // index, number, state, kind, x, y, font, direction, size, name
        QVERIFY2(stored.find("\ttext\t5\t6\t") != std::string::npos, stored.c_str());
        QVERIFY2(stored.find("Commodity name") != std::string::npos, stored.c_str());
        QVERIFY2(stored.find("\tbarcode\t2\t21\t") != std::string::npos, stored.c_str());
    }
};

QTEST_MAIN(LabelDownloadE2eTest)
#include "LabelDownloadE2eTest.moc"
