#include "CliCommodities.h"

#include <CLI/CLI.hpp>

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

ExportCommodities::ExportCommodities()
    : CliCommand({}, "export-commodities",
                 "writes the commodity list of record/sp.rec into a spreadsheet file: a workbook "
                 "for a name ending in .xlsx, CSV (UTF-8) otherwise (no scale needed)") {}

void ExportCommodities::addOptions(CLI::App& command) {
    command.add_option("file", file_, "the file to write")
        ->required()
        ->type_name("OUT.csv|OUT.xlsx");
}

CliOutcome ExportCommodities::run(const CliContext& context) {
    const auto current = CommodityFile::load(CommodityFile::file(context.dir));
    if (!current)
        return {kExitUsage, current.result.message()};
    const auto written = CommodityExport::write(file_, current.value, context.lang);
    if (!written)
        return {kExitFailed, written.message(), written.why()};
    return {kExitDone,
            kExported.get(context.lang) + file_ + ": " + std::to_string(current.value.size())};
}

ImportCommodities::ImportCommodities()
    : CliCommand({}, "import-commodities",
                 "merges the commodities of a spreadsheet file (CSV or .xlsx, a header row naming "
                 "the columns) into record/sp.rec by commodity code (no scale needed)") {}

void ImportCommodities::addOptions(CLI::App& command) {
    command.add_option("file", file_, "the file to read")->required()->type_name("IN.csv|IN.xlsx");
    command.add_flag("--replace", replace_, "the file's rows become the whole list");
    command.add_flag("--valid-only", validOnly_,
                     "takes the valid rows when some are rejected (otherwise nothing is written)");
    command.add_flag("--dry-run", dryRun_, "reports only; writes nothing");
    command.footer(command.get_footer() + "\nExit status: 0 every row was taken, 1 rows were "
                                          "rejected, 2 usage error or a file that cannot be read.");
}

CliOutcome ImportCommodities::run(const CliContext& context) {
    const Lang lang = context.lang;
    const std::filesystem::path listFile = CommodityFile::file(context.dir);
    // An import reads the list, merges and writes it back: another program's save in between
    // would be lost, so the whole of it holds the data folder's lock.
    const std::optional<DataLock> lock =
        dryRun_ ? std::nullopt : std::optional<DataLock>(std::in_place, listFile);
    const auto current = CommodityFile::load(listFile);
    if (!current)
        return {kExitUsage, current.result.message()};

    const auto mode = replace_ ? CommodityImport::Mode::Replace : CommodityImport::Mode::Merge;
    const CommodityImport plan = CommodityImport::planFile(file_, current.value, mode);
    if (!plan.problem.empty())
        return {kExitUsage, file_ + ": " + plan.problem};
    std::string report;
    for (const std::string& line : plan.rejectionLines())
        report += line + '\n';

    const int status = plan.rejected == 0 ? kExitDone : kExitFailed;
    const std::string line = plan.summary();
    if (dryRun_)
        return {status, line + kDryRun.get(lang), {}, std::move(report)};
    if (!plan.takesRows(validOnly_))
        return {status, line + kNothingWritten.get(lang), {}, std::move(report)};
    if (const IoResult saved = CommodityFile::save(listFile, plan.merged); !saved)
        return {kExitFailed, saved.message(), {}, std::move(report)};
    return {status, line + kSaved.get(lang) + listFile.string(), {}, std::move(report)};
}

} // namespace korvan::cli
