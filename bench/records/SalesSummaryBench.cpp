// Summaries of a year of sales (1,000,000 lines): by day, hour, weekday and commodity once the
// file is loaded, and the whole korvan-cli report command (load, summary, table).
#include "CliMain.h"
#include "YearOfSales.h"
#include "records/SalesRecords.h"
#include "records/SalesSummary.h"

#include <benchmark/benchmark.h>
#include <sstream>

using namespace korvan;
using namespace korvan::bench;

namespace {

constexpr const char* kGroupings[] = {"day", "hour", "weekday", "commodity"};

void SalesSummary1M(benchmark::State& state) {
    const auto records = SalesRecords::load(yearOfSales().file());
    if (!records || records.value.size() != kLines) {
        state.SkipWithError("dzcjl.rec could not be read whole");
        return;
    }
    SalesSummary::Options options;
    SalesSummary::parseGrouping(kGroupings[state.range(0)], options.by);
    options.order = SalesSummary::usualOrder(options.by);
    std::size_t groups = 0;
    for (auto _ : state) {
        const SalesSummary summary = SalesSummary::make(records.value, options);
        groups = summary.groups().size();
        benchmark::DoNotOptimize(groups);
    }
    state.SetLabel(kGroupings[state.range(0)]);
    state.counters["groups"] = static_cast<double>(groups);
}
BENCHMARK(SalesSummary1M)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

void SalesReportCommand1M(benchmark::State& state) {
    const std::string folder = yearOfSales().folder().string();
    std::size_t printed = 0;
    for (auto _ : state) {
        std::ostringstream out, err;
        const int status = cli::runCli(
            {"--data-dir", folder, "report", "--by", kGroupings[state.range(0)]}, out, err, false);
        if (status != 0)
            state.SkipWithError(err.str().c_str());
        printed = out.str().size();
    }
    state.SetLabel(kGroupings[state.range(0)]);
    state.counters["table_bytes"] = static_cast<double>(printed);
}
BENCHMARK(SalesReportCommand1M)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace
