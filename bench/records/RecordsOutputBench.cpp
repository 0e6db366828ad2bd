// Printing and export of a long sales record list: the pages of 100,000 rows as data, and the
// same rows written as a workbook.
#include "records/PrintLayout.h"
#include "records/SalesCaptions.h"
#include "records/SalesWorkbook.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace korvan;

namespace {

constexpr std::size_t kRows = 100000;

// A day's sales as a scale sends them: times, names (half of them Chinese, in GBK), weights,
// prices and amounts.
class BenchRows : public SalesRows {
public:
    explicit BenchRows(std::size_t count) {
        const std::string names[] = {"\xc6\xbb\xb9\xfb", "Pears", "\xcf\xe3\xbd\xb6",
                                     "Tomatoes"}; // 苹果, 香蕉
        rows_.reserve(count);
        char time[32], weight[16], amount[16];
        for (std::size_t r = 0; r < count; ++r) {
            std::snprintf(time, sizeof time, "2026-12-%02zu %02zu:%02zu:%02zu", 1 + r / 3600 % 28,
                          r / 60 % 24, r % 60, r * 7 % 60);
            std::snprintf(weight, sizeof weight, "%zu.%03zu", r % 5, r % 1000);
            std::snprintf(amount, sizeof amount, "%zu.%02zu", r % 50, r % 100);
            rows_.push_back({time, names[r % 4], weight, "5.00", amount});
        }
    }
    std::size_t size() const override { return rows_.size(); }
    std::string_view field(std::size_t row, std::size_t column) const override {
        return rows_[row][column];
    }

private:
    std::vector<std::array<std::string, kFields>> rows_;
};

const BenchRows& rows() {
    static const BenchRows all(kRows);
    return all;
}

void PrintLayoutOfAllPages(benchmark::State& state) {
    const PrintLayout layout(rows(), PrintCaptions::forLanguage(Lang::Chinese), "123456.78");
    std::size_t texts = 0;
    for (auto _ : state) {
        const std::vector<PrintPage> pages = layout.pages();
        texts = 0;
        for (const PrintPage& page : pages)
            texts += page.texts.size();
        benchmark::DoNotOptimize(texts);
    }
    state.counters["pages"] = static_cast<double>(layout.pageCount());
    state.counters["texts"] = static_cast<double>(texts);
}
BENCHMARK(PrintLayoutOfAllPages)->Unit(benchmark::kMillisecond);

// One page at a time, as a printer takes them.
void PrintLayoutPageByPage(benchmark::State& state) {
    const PrintLayout layout(rows(), PrintCaptions::forLanguage(Lang::Chinese), "123456.78");
    for (auto _ : state)
        for (std::size_t number = 1; number <= layout.pageCount(); ++number)
            benchmark::DoNotOptimize(layout.page(number).texts.data());
}
BENCHMARK(PrintLayoutPageByPage)->Unit(benchmark::kMillisecond);

void ExportWorkbook(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "korvan-bench-XXXXXX").string();
    if (!::mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::filesystem::path file = std::filesystem::path(folder) / "records.xlsx";
    const auto captions = SalesCaptions::columns(Lang::Chinese);
    for (auto _ : state) {
        const auto written = SalesWorkbook::write(file, rows(), captions);
        if (!written) {
            state.SkipWithError(written.detail.c_str());
            break;
        }
    }
    std::error_code ec;
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file, ec));
    std::filesystem::remove_all(folder, ec);
}
BENCHMARK(ExportWorkbook)->Unit(benchmark::kMillisecond);

} // namespace
