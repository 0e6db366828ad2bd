// A full commodity list (2000 records with Chinese names) loaded from and saved to sp.rec.
#include "commodity/CommodityList.h"
#include "common/Prompt.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace korvan;

namespace {

class Scratch {
public:
    Scratch() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "korvan-bench-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::filesystem::path file() const { return path_ / "record" / "sp.rec"; }

private:
    std::filesystem::path path_;
};

std::vector<CommodityRecord> fullList() {
    std::vector<CommodityRecord> records;
    for (int i = 0; i < 2000; ++i) {
        CommodityRecord r = CommodityRecord::newRecord();
        r.name = "\xC6\xBB\xB9\xFB\xBA\xEC\xB8\xBB\xCA\xBF" + std::to_string(i); // 5 characters
        r.code = std::to_string(100000 + i);
        r.unitPrice = std::to_string(i % 100) + ".50";
        r.priceChange = i % 2 ? PriceChange::Yes : PriceChange::No;
        r.salesMode = i % 3 ? SalesMode::Weight : SalesMode::Quantity;
        r.tare = "15";
        r.shelfLife = "7";
        r.discountRate = "10";
        r.descriptionNumber = std::to_string(i % 33);
        records.push_back(std::move(r));
    }
    return records;
}

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
    list.open();
    Prompt::Script quiet; // answers "Save completed" without a window
    for (auto _ : state) {
        list.deleteSelected({});
        IoResult result = list.save();
        if (!result.ok())
            state.SkipWithError("save failed");
    }
}
BENCHMARK(CommoditySave2000)->Unit(benchmark::kMillisecond);

} // namespace
