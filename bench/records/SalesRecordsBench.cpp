// A year of sales from a busy scale: a dzcjl.rec of 1,000,000 lines, loaded, queried, totalled
// and saved. Resident memory is reported after a load, with the records held.
#include "records/SalesQuery.h"
#include "records/SalesRecords.h"
#include "records/SalesTotal.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace korvan;

namespace {

constexpr int kLines = 1'000'000;

// The generated file, in a scratch folder removed when the benchmarks end.
class YearOfSales {
public:
    YearOfSales() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "korvan-sales-bench-XXXXXX").string();
        folder_ = ::mkdtemp(tmpl.data());
        file_ = folder_ / "record" / "dzcjl.rec";
        std::filesystem::create_directories(file_.parent_path());
        write();
    }
    ~YearOfSales() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    const std::filesystem::path& file() const { return file_; }

    // Names of the commodities sold, GBK and ASCII; the query looks for one of them on one day.
    static constexpr const char* kNames[] = {"\xC6\xBB\xB9\xFB", // apple
                                             "\xCF\xE3\xBD\xB6", // banana
                                             "\xBC\xA6\xB5\xB0", // eggs
                                             "Pork belly",       "Beef", "Tomato",
                                             "Rice 5kg",         "Milk"};

private:
    void write() {
        std::ofstream out(file_, std::ios::binary);
        std::string chunk;
        char line[160];
        for (int i = 0; i < kLines; ++i) {
            const int day = i / 2740; // about 2740 sales a day over 365 days
            const int month = day / 31 + 1, mday = day % 31 + 1;
            const int second = (i % 2740) * 20 + 28800; // from 08:00 on
            // Prices and weights spread by primes; 64-bit, as i times a prime passes INT_MAX.
            const int cents = 100 + static_cast<int>(i * 7919LL % 9900);
            const int grams = 100 + static_cast<int>(i * 104729LL % 4900);
            std::snprintf(line, sizeof line,
                          "2026-%02d-%02d %02d:%02d:%02d\f%s\f%d.%03d\f%d.%02d\f%d.%02d\r\n", month,
                          mday, second / 3600, second / 60 % 60, second % 60,
                          kNames[i % std::size(kNames)], grams / 1000, grams % 1000, cents / 100,
                          cents % 100, cents * grams / 100000, cents * grams / 1000 % 100);
            chunk += line;
            if (chunk.size() > (1 << 20)) {
                out << chunk;
                chunk.clear();
            }
        }
        out << chunk;
    }

    std::filesystem::path folder_;
    std::filesystem::path file_;
};

const YearOfSales& yearOfSales() {
    static const YearOfSales sales;
    return sales;
}

// Resident and peak resident memory of the process, in MB.
double statusMb(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == key) {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
    }
    return 0;
}

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
