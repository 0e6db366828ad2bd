// The commodity settings screen with a full list (2000 records with Chinese names): the list
// shown again after a change (model reset, layout and paint of the visible rows), and the whole
// opening (file loaded, screen built, first paint). Runs offscreen.
#include <QApplication>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "commodity/CommodityFile.h"
#include "commodity/ui/CSpSetDlg.h"
#include "common/DataDir.h"
#include "common/Language.h"
#include "common/ui/BytesTableModel.h"

using namespace korvan;

namespace {

class Scratch {
public:
    Scratch() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "korvan-bench-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
        DataDir::setCurrent(DataDir(path_));
    }
    ~Scratch() {
        DataDir::setCurrent(DataDir());
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::filesystem::path file() const { return path_ / "record" / "sp.rec"; }

private:
    std::filesystem::path path_;
};

bool writeFullList(const std::filesystem::path& file) {
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
    return CommodityFile::save(file, records).ok();
}

void CommodityListShow2000(benchmark::State& state) {
    Scratch scratch;
    Language::setFlag(kChinese);
    if (!writeFullList(scratch.file())) {
        state.SkipWithError("could not write the file");
        return;
    }
    CSpSetDlg screen;
    screen.show();
    auto* view = screen.findChild<QTableView*>(QStringLiteral("commodityList"));
    auto* model = qobject_cast<BytesTableModel*>(view->model());
    if (model->rowCount() != 2000) {
        state.SkipWithError("wrong row count");
        return;
    }
    for (auto _ : state) {
        model->refresh();
        QPixmap shown = view->grab(); // lays the view out and paints the visible rows
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(CommodityListShow2000)->Unit(benchmark::kMillisecond);

void CommodityScreenOpen2000(benchmark::State& state) {
    Scratch scratch;
    Language::setFlag(kChinese);
    if (!writeFullList(scratch.file())) {
        state.SkipWithError("could not write the file");
        return;
    }
    for (auto _ : state) {
        CSpSetDlg screen;
        QPixmap shown = screen.grab();
        benchmark::DoNotOptimize(shown);
        if (screen.list().size() != 2000)
            state.SkipWithError("wrong row count");
    }
}
BENCHMARK(CommodityScreenOpen2000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
