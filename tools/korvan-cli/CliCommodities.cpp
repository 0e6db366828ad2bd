#include "CliCommodities.h"

#include <optional>

#include "CliMain.h"
#include "commodity/CommodityExport.h"
#include "commodity/CommodityFile.h"
#include "commodity/CommodityImport.h"
#include "common/DataLock.h"

namespace korvan::cli {
namespace {

constexpr Tr kExported{"商品已导出到 ", "Commodities exported to "};
constexpr Tr kSaved{"; 已保存到 ", "; saved to "};
constexpr Tr kNothingWritten{"; 未写入任何数据", "; nothing written"};
constexpr Tr kDryRun{"; 试运行, 未写入任何数据", "; dry run, nothing written"};

} // namespace

CliCommodities::Outcome CliCommodities::run(const CliOptions& options, const DataDir& dir,
                                            Lang lang, std::string& report) {
    const std::filesystem::path listFile = dir.record("sp.rec");
    // An import reads the list, merges and writes it back: another program's save in between
    // would be lost, so the whole of it holds the data folder's lock.
    const std::optional<DataLock> lock =
        options.command == Command::ImportCommodities && !options.dryRun
            ? std::optional<DataLock>(std::in_place, listFile)
            : std::nullopt;
    const auto current = CommodityFile::load(listFile);
    if (!current)
        return {kExitUsage, current.result.message(), {}};

    if (options.command == Command::ExportCommodities) {
        const auto written = CommodityExport::write(options.commodityFile, current.value, lang);
        if (!written)
            return {kExitFailed, written.message(), written.why()};
        return {kExitDone,
                kExported.get(lang) + options.commodityFile + ": " +
                    std::to_string(current.value.size()),
                {}};
    }

    const auto mode =
        options.replace ? CommodityImport::Mode::Replace : CommodityImport::Mode::Merge;
    const CommodityImport plan =
        CommodityImport::planFile(options.commodityFile, current.value, mode);
    if (!plan.problem.empty())
        return {kExitUsage, options.commodityFile + ": " + plan.problem, {}};
    for (const std::string& line : plan.rejectionLines())
        report += line + '\n';

    const int status = plan.rejected == 0 ? kExitDone : kExitFailed;
    std::string line = plan.summary();
    if (options.dryRun)
        return {status, line + kDryRun.get(lang), {}};
    if (!plan.takesRows(options.validOnly))
        return {status, line + kNothingWritten.get(lang), {}};
    if (const IoResult saved = CommodityFile::save(listFile, plan.merged); !saved)
        return {kExitFailed, saved.message(), {}};
    return {status, line + kSaved.get(lang) + listFile.string(), {}};
}

} // namespace korvan::cli
