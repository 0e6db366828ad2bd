// A full commodity list (2000 records with Chinese names) exported to and imported from CSV and
// .xlsx files, as the screen's Import and Export and korvan-cli do it.
#include "FullList.h"
#include "commodity/CommodityExport.h"
#include "commodity/CommodityImport.h"

#include <benchmark/benchmark.h>

using namespace korvan;
using korvan::bench::fullList;
using korvan::bench::Scratch;

namespace {

std::filesystem::path fileOf(const Scratch& scratch, benchmark::State& state) {
    return scratch.file().parent_path() / (state.range(0) ? "list.xlsx" : "list.csv");
}

void CommodityExport2000(benchmark::State& state) {
    Scratch scratch;
    const auto list = fullList();
    const auto file = fileOf(scratch, state);
    std::filesystem::create_directories(file.parent_path());
    for (auto _ : state) {
        if (!CommodityExport::write(file, list, Lang::Chinese))
            state.SkipWithError("the export failed");
    }
}
BENCHMARK(CommodityExport2000)->Arg(0)->Arg(1)->ArgName("xlsx")->Unit(benchmark::kMillisecond);

// Into a full list, so every row is an update found by its code.
void CommodityImport2000(benchmark::State& state) {
    Scratch scratch;
    const auto list = fullList();
    const auto file = fileOf(scratch, state);
    std::filesystem::create_directories(file.parent_path());
    if (!CommodityExport::write(file, list, Lang::Chinese)) {
        state.SkipWithError("the export failed");
        return;
    }
    for (auto _ : state) {
        const auto plan = CommodityImport::planFile(file, list, CommodityImport::Mode::Merge);
        if (plan.updated != list.size())
            state.SkipWithError("not every row was taken");
        benchmark::DoNotOptimize(plan.merged.data());
    }
}
BENCHMARK(CommodityImport2000)->Arg(0)->Arg(1)->ArgName("xlsx")->Unit(benchmark::kMillisecond);

} // namespace
