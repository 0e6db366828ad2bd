// The design canvas offscreen: picking, dragging in whole millimetres, leaving during a drag, and
// the drawing compared with a stored image. The image is drawn with AR PL UMing; after a deliberate
// change to the drawing, run once with KORVAN_UPDATE_REFERENCE=1, look at canvas-reference.png and
// commit it.
#include <QDir>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "labeldesign/ui/LabelCanvas.h"
#include "support/UiMouse.h"

using namespace korvan;
using korvan::test::mouse;

namespace {

LabelElement row(const char* name, const char* direction, const char* x, const char* y,
                 const char* state, const char* font = "12*24", const char* size = "12*24") {
    return LabelElement({name, "", direction, font, size, x, y, state, x, y});
}

} // namespace

class LabelCanvasTest : public QObject {
    Q_OBJECT

    LabelDesign design_;
    LabelCanvas canvas_;

private slots:
    void initTestCase() {
        // As the designer does: a pick selects, a click on empty canvas ends the selection.
        connect(&canvas_, &LabelCanvas::elementPicked,
                [this](int row) { design_.select(static_cast<std::size_t>(row)); });
        connect(&canvas_, &LabelCanvas::selectionCleared, [this] { design_.deselect(); });
    }

    void init() {
        Label label;
        label.height = "30";
        // "ABC" at 10, 5 mm: pixels (75, 50) to (99, 65). "XYZ" lies on top of it in a later row.
        label.elements = {row("ABC", "0", "10", "5", "TRUE"), row("XYZ", "0", "10", "5", "TRUE"),
                          row("LOW", "0", "30", "20", "TRUE"), row("HID", "0", "30", "20", "FALSE"),
                          row("OFF", "0", "5", "25", "TRUE ")};
        design_ = LabelDesign(label);
        canvas_.resize(300, 200);
        canvas_.setDesign(design_);
    }

    void pressPicksTheLastPrintedRowUnderThePointer_data() {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("picked"); // -1: nothing, the selection is cleared
        QTest::newRow("overlap: later row") << QPoint(80, 55) << 1;
        QTest::newRow("hidden row over a printed one") << QPoint(180, 130) << 2;
        QTest::newRow("state not exactly TRUE") << QPoint(55, 155) << -1;
        QTest::newRow("right edge is outside") << QPoint(99, 55) << -1;
        QTest::newRow("empty canvas") << QPoint(200, 40) << -1;
    }
    void pressPicksTheLastPrintedRowUnderThePointer() {
        QFETCH(QPoint, at);
        QFETCH(int, picked);
        design_.select(0);
        QSignalSpy picks(&canvas_, &LabelCanvas::elementPicked);
        QSignalSpy cleared(&canvas_, &LabelCanvas::selectionCleared);
        mouse(&canvas_, QEvent::MouseMove, at);
        // The hand over a printed element, the cross elsewhere; the move arrow once a drag starts.
        QCOMPARE(canvas_.cursor().shape(), picked < 0 ? Qt::CrossCursor : Qt::PointingHandCursor);
        mouse(&canvas_, QEvent::MouseButtonPress, at);
        QCOMPARE(canvas_.cursor().shape(), picked < 0 ? Qt::PointingHandCursor : Qt::SizeAllCursor);
        if (picked < 0) {
            QCOMPARE(picks.count(), 0);
            QCOMPARE(cleared.count(), 1);
            QVERIFY(!design_.selected());
        } else {
            QCOMPARE(picks.count(), 1);
            QCOMPARE(picks.at(0).at(0).toInt(), picked);
            QCOMPARE(design_.selected(), std::optional<std::size_t>(picked));
        }
        mouse(&canvas_, QEvent::MouseButtonRelease, at);
    }

    void dragSnapsToWholeMillimetres_data() {
        QTest::addColumn<QList<int>>("steps"); // successive x movements in pixels
        QTest::addColumn<QList<int>>("xMm");   // X.pos read out after each step
        QTest::newRow("7 then 3 right") << QList<int>{7, 3} << QList<int>{11, 12};
        QTest::newRow("4 left then 4 right") << QList<int>{-4, 4} << QList<int>{10, 10};
        QTest::newRow("6 left") << QList<int>{-6} << QList<int>{9};
    }
    void dragSnapsToWholeMillimetres() {
        QFETCH(QList<int>, steps);
        QFETCH(QList<int>, xMm);
        QSignalSpy moved(&canvas_, &LabelCanvas::dragMoved);
        QSignalSpy finished(&canvas_, &LabelCanvas::dragFinished);
        QPoint at(80, 55);
        mouse(&canvas_, QEvent::MouseMove, at);
        mouse(&canvas_, QEvent::MouseButtonPress, at);
        QVERIFY(canvas_.dragging());
        for (int step : steps) {
            at.rx() += step;
            mouse(&canvas_, QEvent::MouseMove, at);
        }
        QCOMPARE(moved.count(), steps.size());
        for (int i = 0; i < steps.size(); ++i) {
            QCOMPARE(moved.at(i).at(0).toInt(), xMm.at(i)); // X.pos
            QCOMPARE(moved.at(i).at(1).toInt(), 5);         // Y.pos unchanged
            QCOMPARE(moved.at(i).at(2).toInt(), xMm.at(i)); // left edge
        }
        // The element is drawn where it snapped.
        const int left = LabelGeometry::pixelFromMm(xMm.last());
        QCOMPARE(canvas_.drawnRect(1).left, left);
        mouse(&canvas_, QEvent::MouseButtonRelease, at);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), 1);
        QCOMPARE(finished.at(0).at(1).toInt(), xMm.last());
        QCOMPARE(finished.at(0).at(2).toInt(), 5);
        QVERIFY(!canvas_.dragging());
    }

    void leavingTheCanvasEndsTheDragWithoutWriting_data() {
        QTest::addColumn<bool>("leaveEvent"); // else the pointer moves off while held
        QTest::newRow("pointer moves off") << false;
        QTest::newRow("leave event") << true;
    }
    void leavingTheCanvasEndsTheDragWithoutWriting() {
        QFETCH(bool, leaveEvent);
        QSignalSpy finished(&canvas_, &LabelCanvas::dragFinished);
        QSignalSpy abandoned(&canvas_, &LabelCanvas::dragAbandoned);
        mouse(&canvas_, QEvent::MouseMove, {80, 55});
        mouse(&canvas_, QEvent::MouseButtonPress, {80, 55});
        mouse(&canvas_, QEvent::MouseMove, {87, 55});
        if (leaveEvent) {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(&canvas_, &leave);
        } else {
            mouse(&canvas_, QEvent::MouseMove, {-3, 55});
        }
        QVERIFY(!canvas_.dragging());
        QCOMPARE(abandoned.count(), 1);
        // Back on the canvas the element no longer follows the pointer.
        mouse(&canvas_, QEvent::MouseMove, {120, 55});
        QCOMPARE(canvas_.drawnRect(1).left, LabelGeometry::pixelFromMm(10));
        mouse(&canvas_, QEvent::MouseButtonRelease, {120, 55});
        QCOMPARE(finished.count(), 0);
        QCOMPARE(design_.selected(), std::optional<std::size_t>(1));
    }

    // Every kind of element: text in four directions, GB2312 text, the sample bar code turned,
    // a hidden row, and the selected element in red with its guides.
    void renderingMatchesTheReference() {
        if (LabelCanvas::songFamily() != QLatin1String("AR PL UMing CN"))
            QSKIP("the reference is drawn with AR PL UMing (fonts-arphic-uming) and no SimSun");
        Label label;
        label.height = "40";
        label.elements = {
            row("Price", "0", "2", "2", "TRUE"),
            row("\xC6\xB7\xC3\xFB", "0", "2", "8", "TRUE", "12*24", "24*48"), // 品名
            row("Up", "90", "2", "38", "TRUE"),
            row("Down", "180", "46", "38", "TRUE", "9*9", ""),
            row("Side", "270", "46", "2", "TRUE"),
            row("Gone", "0", "20", "20", "FALSE"),
            row("Net", "0", "8", "28", "TRUE", "9*17", ""),
            row("Tare", "0", "20", "30", "TRUE", "12*24", "24*24"),
            row("Skip", "0", "0", "0", "FALSE"),
            row("\xCC\xF5\xC2\xEB", "180", "40", "18", "TRUE", "12*24", "4"), // 条码
        };
        LabelDesign design(label);
        design.select(4);
        LabelCanvas canvas;
        canvas.resize(300, 260);
        canvas.setDesign(design);
        const QImage image = canvas.image().convertToFormat(QImage::Format_RGB32);

        const QString reference = QStringLiteral(KORVAN_CANVAS_REFERENCE);
        if (qEnvironmentVariableIsSet("KORVAN_UPDATE_REFERENCE")) {
            QVERIFY(image.save(reference));
            QSKIP("reference image written; check it and commit it");
        }
        QImage expected;
        QVERIFY2(expected.load(reference), qPrintable("cannot read " + reference));
        expected = expected.convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), expected.size());
        int differing = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                differing += image.pixel(x, y) != expected.pixel(x, y);
        if (differing) {
            const QString actual = QDir::temp().filePath("canvas-actual.png");
            image.save(actual);
            QFAIL(qPrintable(
                QString("%1 pixels differ; this drawing is in %2").arg(differing).arg(actual)));
        }
    }
};

QTEST_MAIN(LabelCanvasTest)
#include "LabelCanvasTest.moc"
