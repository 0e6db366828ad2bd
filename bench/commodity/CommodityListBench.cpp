// The commodity settings screen with a full list (2000 records with Chinese names): the list
// shown again after a change (model reset, layout and paint of the visible rows), and the whole
// opening (file loaded, screen built, first paint). Runs offscreen.
#include <QApplication>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

#include "FullList.h"
#include "commodity/CommodityFile.h"
#include "commodity/ui/CSpSetDlg.h"
#include "common/DataDir.h"
#include "common/Language.h"
#include "common/ui/BytesTableModel.h"

using namespace korvan;
using korvan::bench::Scratch;

namespace {

bool writeFullList(const std::filesystem::path& file) {
    return CommodityFile::save(file, bench::fullList()).ok();
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
