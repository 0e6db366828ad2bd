// A year of sales from a busy scale: a dzcjl.rec of 1,000,000 lines, loaded, queried, totalled
// and saved. Resident memory is reported after a load, with the records held.
#include "records/SalesQuery.h"
#include "records/SalesRecords.h"
#include "records/SalesTotal.h"
#include "YearOfSales.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace korvan;
using namespace korvan::bench;

namespace {

SalesRecords loaded(benchmark::State& state) {
    auto records = SalesRecords::load(yearOfSales().file());
    if (!records || records.value.size() != kLines)
        state.SkipWithError("dzcjl.rec could not be read whole");
    return std::move(records.value);
}

void SalesRecordsLoad1M(benchmark::State& state) {
    yearOfSales();
    std::size_t rows = 0;
    for (auto _ : state) {
        Loaded<SalesRecords> records = SalesRecords::load(yearOfSales().file());
        rows = records.value.size();
        benchmark::DoNotOptimize(rows);
    }
    if (rows != kLines)
        state.SkipWithError("wrong row count");
    // Memory with the records held, as the record screen holds them.
    const SalesRecords held = loaded(state);
    state.counters["rss_MB"] = statusMb("VmRSS:");
    state.counters["peak_rss_MB"] = statusMb("VmHWM:");
    state.counters["file_MB"] =
        static_cast<double>(std::filesystem::file_size(yearOfSales().file())) / (1 << 20);
}
BENCHMARK(SalesRecordsLoad1M)->Unit(benchmark::kMillisecond);

// A day and a commodity (about 340 rows), and a query with both boxes empty (every row).
void SalesRecordsQuery1M(benchmark::State& state) {
    const SalesRecords records = loaded(state);
    const SalesQuery query =
        state.range(0) ? SalesQuery{"2026-06-15", YearOfSales::kNames[0]} : SalesQuery{};
    std::size_t matched = 0;
    for (auto _ : state) {
        const SalesSelection selection = query.run(records);
        matched = selection.size();
        benchmark::DoNotOptimize(matched);
    }
    state.counters["rows"] = static_cast<double>(matched);
    if (matched == 0)
        state.SkipWithError("the query matched nothing");
}
BENCHMARK(SalesRecordsQuery1M)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void SalesRecordsTotal1M(benchmark::State& state) {
    const SalesRecords records = loaded(state);
    std::string total;
    for (auto _ : state) {
        total = SalesTotal::text(records);
        benchmark::DoNotOptimize(total);
    }
    if (total.empty())
        state.SkipWithError("no total");
}
BENCHMARK(SalesRecordsTotal1M)->Unit(benchmark::kMillisecond);

// The total of a query showing every row: through the row view, one virtual call per field.
void SalesRecordsTotalOfQuery1M(benchmark::State& state) {
    const SalesRecords records = loaded(state);
    const SalesSelection all = SalesQuery{}.run(records);
    std::string total;
    for (auto _ : state) {
        total = SalesTotal::text(all);
        benchmark::DoNotOptimize(total);
    }
    if (total != SalesTotal::text(records))
        state.SkipWithError("the totals differ");
}
BENCHMARK(SalesRecordsTotalOfQuery1M)->Unit(benchmark::kMillisecond);

// Rewriting the file after a deletion.
void SalesRecordsSave1M(benchmark::State& state) {
    SalesRecords records = loaded(state);
    records.erase({0});
    const auto copy = yearOfSales().file().parent_path() / "saved.rec";
    for (auto _ : state) {
        if (!records.save(copy).ok())
            state.SkipWithError("save failed");
    }
}
BENCHMARK(SalesRecordsSave1M)->Unit(benchmark::kMillisecond);

} // namespace
