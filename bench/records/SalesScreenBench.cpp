// The sales record screen on a year of sales (1,000,000 lines): opening it (read, list, total),
// a query and scrolling to the end of the list. Resident memory with the screen open.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <benchmark/benchmark.h>

#include "YearOfSales.h"
#include "common/DataDir.h"
#include "common/Language.h"
#include "records/ui/CDzcjlDlg.h"

using namespace korvan;
using namespace korvan::bench;

namespace {

void useYearOfSales() {
    DataDir::setCurrent(DataDir(yearOfSales().folder()));
    Language::setFlag(kEnglish);
}

void SalesScreenOpen1M(benchmark::State& state) {
    useYearOfSales();
    for (auto _ : state) {
        CDzcjlDlg screen;
        screen.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(screen.shown().size());
    }
    CDzcjlDlg screen;
    screen.show();
    QApplication::processEvents();
    state.counters["rows"] = static_cast<double>(screen.shown().size());
    state.counters["rss_MB"] = statusMb("VmRSS:");
    state.counters["peak_rss_MB"] = statusMb("VmHWM:");
}
BENCHMARK(SalesScreenOpen1M)->Unit(benchmark::kMillisecond);

// Query (which reads the file again, as the file may have grown) and Display all.
void SalesScreenQuery1M(benchmark::State& state) {
    useYearOfSales();
    CDzcjlDlg screen;
    screen.show();
    screen.findChild<QLineEdit*>("dateEdit")->setText("2026-06-15");
    auto* query =
        screen.findChild<QPushButton*>(state.range(0) ? "queryButton" : "displayAllButton");
    for (auto _ : state) {
        query->click();
        QApplication::processEvents();
    }
    state.counters["rows"] = static_cast<double>(screen.shown().size());
}
BENCHMARK(SalesScreenQuery1M)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// From the top of the list to its end and back, as a drag of the scroll bar does.
void SalesScreenScroll1M(benchmark::State& state) {
    useYearOfSales();
    CDzcjlDlg screen;
    screen.show();
    QApplication::processEvents();
    QScrollBar* bar = screen.findChild<QTableView*>("recordList")->verticalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->maximum());
        screen.repaint();
        bar->setValue(0);
        screen.repaint();
    }
}
BENCHMARK(SalesScreenScroll1M)->Unit(benchmark::kMillisecond);

} // namespace
