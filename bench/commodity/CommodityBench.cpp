// A full commodity list (2000 records with Chinese names) loaded from and saved to sp.rec.
#include "FullList.h"
#include "commodity/CommodityList.h"
#include "common/Prompt.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace korvan;
using korvan::bench::fullList;
using korvan::bench::Scratch;

namespace {

void CommodityLoad2000(benchmark::State& state) {
    Scratch scratch;
    if (!CommodityFile::save(scratch.file(), fullList()).ok()) {
        state.SkipWithError("could not write the file");
        return;
    }
    CommodityList list(scratch.file());
    for (auto _ : state) {
        IoResult result = list.open();
        benchmark::DoNotOptimize(result);
        if (list.size() != 2000)
            state.SkipWithError("wrong row count");
    }
}
BENCHMARK(CommodityLoad2000)->Unit(benchmark::kMillisecond);

void CommoditySave2000(benchmark::State& state) {
    Scratch scratch;
    if (!CommodityFile::save(scratch.file(), fullList()).ok()) {
        state.SkipWithError("could not write the file");
        return;
    }
    CommodityList list(scratch.file());
    if (!list.open())
        state.SkipWithError("sp.rec could not be read");
    Prompt::Script quiet; // answers "Save completed" without a window
    for (auto _ : state) {
        list.deleteSelected({});
        IoResult result = list.save().result;
        if (!result.ok())
            state.SkipWithError("save failed");
    }
}
BENCHMARK(CommoditySave2000)->Unit(benchmark::kMillisecond);

} // namespace
