// One full redraw of the design canvas showing 30 elements: the work done on every drag step.
// Runs offscreen, with the canvas shown so the copy to the screen is included.
#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>
#include <string>

#include "labeldesign/ui/LabelCanvas.h"

using namespace korvan;

namespace {

// 30 printed elements over a 40 x 60 mm label: Chinese and Latin names in the four directions
// and the four cell sizes, and the bar code.
Label fullLabel() {
    static const char* const names[] = {"\xC6\xB7\xC3\xFB", "Price", "\xB5\xA5\xBC\xDB",
                                        "Weight",           "Total", "\xBD\xF0\xB6\xEE"};
    static const char* const sizes[] = {"12*24", "12*48", "24*24", "24*48"};
    static const char* const directions[] = {"0", "90", "180", "270"};
    Label label;
    label.height = "60";
    for (int i = 0; i < 30; ++i) {
        const std::string x = std::to_string(4 + (i * 7) % 40);
        const std::string y = std::to_string(4 + (i * 11) % 52);
        std::string name = names[i % 6];
        if (i == Label::kBarCodeRow)
            name = "Code";
        label.elements.emplace_back(std::array<std::string, LabelElement::kColumns>{
            name, "", directions[i % 4], "12*24", i == Label::kBarCodeRow ? "8" : sizes[i % 4], x,
            y, "TRUE", x, y});
    }
    return label;
}

void CanvasRedraw30(benchmark::State& state) {
    LabelDesign design(fullLabel());
    design.select(3);
    LabelCanvas canvas;
    canvas.resize(canvas.sizeHint());
    canvas.show();
    canvas.setDesign(design);
    canvas.redraw(); // characters are drawn once and kept
    for (auto _ : state) {
        canvas.redraw();
        benchmark::DoNotOptimize(canvas.image().constBits());
    }
}
BENCHMARK(CanvasRedraw30)->Unit(benchmark::kMicrosecond);

// A drag step as the pointer delivers it: snapping, read-outs and the redraw.
void CanvasDragStep30(benchmark::State& state) {
    const LabelDesign design(fullLabel());
    LabelCanvas canvas;
    canvas.resize(canvas.sizeHint());
    canvas.show();
    canvas.setDesign(design);
    const ElementGeometry& g = design.geometry().entry(29);
    const QPointF start(g.rect.left + 1, g.rect.top + 1);
    auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button) {
        QMouseEvent event(type, at, canvas.mapToGlobal(at), button, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&canvas, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    if (!canvas.dragging()) {
        state.SkipWithError("the element was not picked");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        send(QEvent::MouseMove, start + QPointF((step++ % 20) - 10, 0), Qt::NoButton);
    }
}
BENCHMARK(CanvasDragStep30)->Unit(benchmark::kMicrosecond);

} // namespace
