#include "CliReport.h"

#include <CLI/CLI.hpp>

#include "CliMain.h"
#include "common/Text.h"
#include "records/SalesQuery.h"
#include "records/SalesRecordFile.h"
#include "records/SalesRecords.h"
#include "records/SalesSummary.h"
#include "records/SalesSummaryOutput.h"

namespace korvan::cli {
namespace {

constexpr Tr kWritten{"汇总已写入 ", "Summary written to "};
constexpr Tr kRows{" 行", " rows"};

} // namespace

Report::Report()
    : CliCommand({}, "report",
                 "sums up the sales records of record/dzcjl.rec by day, hour, weekday or "
                 "commodity: sales, quantity, amount and share, as a table or into a file (no "
                 "scale needed)") {}

void Report::addOptions(CLI::App& command) {
    command.add_option("--by", by_, "what the rows group by (default day)")
        ->type_name("day|hour|weekday|commodity");
    command.add_option("--from", from_, "the first day of the period (YYYY-MM-DD)")
        ->type_name("DATE");
    command.add_option("--to", to_, "the last day of the period (YYYY-MM-DD)")->type_name("DATE");
    command
        .add_option("--top", top_,
                    "only the N groups of the largest amounts, the rest as one row \"other\"")
        ->type_name("N");
    auto* csv =
        command.add_option("--csv", csvFile_, "write the table into a CSV file")->type_name("OUT");
    command.add_option("--xlsx", xlsxFile_, "write the table and a chart into a workbook")
        ->type_name("OUT")
        ->excludes(csv);
}

std::string Report::usageProblem() const {
    SalesSummary::Grouping by;
    if (!SalesSummary::parseGrouping(by_, by))
        return "--by takes day, hour, weekday or commodity, not '" + by_ + "'";
    for (const std::string* date : {&from_, &to_})
        if (!date->empty() && !SalesQuery::isDate(*date))
            return "--from and --to take a date as YYYY-MM-DD, not '" + *date + "'";
    if (!from_.empty() && !to_.empty() && from_ > to_)
        return "--from " + from_ + " comes after --to " + to_;
    return {};
}

CliOutcome Report::run(const CliContext& context) {
    SalesSummary::Options options;
    SalesSummary::parseGrouping(by_, options.by);
    options.from = from_;
    options.to = to_;
    options.top = top_;
    options.order = SalesSummary::usualOrder(options.by);

    const auto records = SalesRecords::load(SalesRecordFile::file(context.dir));
    if (!records)
        return {kExitUsage, records.result.message()};
    const SalesSummary summary = SalesSummary::make(records.value, options);

    const std::string& file = xlsxFile_.empty() ? csvFile_ : xlsxFile_;
    if (file.empty())
        return {kExitDone, {}, {}, SalesSummaryOutput::text(summary, context.lang)};
    // A CSV file is written whatever its name ends in; a workbook is asked for by --xlsx alone.
    const std::filesystem::path target = file;
    const bool workbook = Text::asciiLower(target.extension().string()) == ".xlsx";
    if (!xlsxFile_.empty() && !workbook)
        return {kExitUsage, "--xlsx takes a file name ending in .xlsx"};
    if (!csvFile_.empty() && workbook)
        return {kExitUsage, "--csv writes CSV; for a workbook use --xlsx"};
    const IoResult written = SalesSummaryOutput::write(target, summary, context.lang);
    if (!written)
        return {kExitFailed, written.message(), written.detail};
    return {kExitDone, kWritten.get(context.lang) + file + ": " +
                           std::to_string(summary.groups().size()) + kRows.get(context.lang)};
}

} // namespace korvan::cli
