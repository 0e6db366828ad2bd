// The summary chart of 366 days: made and drawn in a chart view of the summary window's size.
#include <QApplication>
#include <QChartView>
#include <QPixmap>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "records/SalesRecords.h"
#include "records/SalesSummary.h"
#include "records/ui/SummaryChart.h"

using namespace korvan;

namespace {

// A sale on each day of a leap year, so the summary has 366 bars.
SalesRecords leapYear() {
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    std::string bytes;
    char line[64];
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= kDays[month - 1]; ++day) {
            std::snprintf(line, sizeof line, "2028-%02d-%02d 10:00:00\fApple\f1\f1\f%d\r\n", month,
                          day, 100 + day * month % 97);
            bytes += line;
        }
    return SalesRecords::fromBytes(std::move(bytes));
}

void SummaryChart366Days(benchmark::State& state) {
    const SalesRecords rows = leapYear();
    const SalesSummary summary = SalesSummary::make(rows, {});
    QChartView view;
    view.resize(500, 460); // the chart's part of the summary window
    view.setRenderHint(QPainter::Antialiasing);
    view.show();
    QApplication::processEvents();
    QPixmap pixmap(view.size());
    for (auto _ : state) {
        QChart* chart = SummaryChart::make(summary, Lang::English);
        QChart* old = view.chart();
        view.setChart(chart);
        delete old;
        QApplication::processEvents(); // the chart takes the view's size
        static_cast<QWidget&>(view).render(&pixmap);
    }
    if (const char* file = std::getenv("KORVAN_CHART_PNG"))
        pixmap.save(QString::fromLocal8Bit(file));
    state.counters["bars"] = static_cast<double>(summary.groups().size());
}
BENCHMARK(SummaryChart366Days)->Unit(benchmark::kMillisecond);

} // namespace
