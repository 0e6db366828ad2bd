#include "CliExport.h"

#include <algorithm>
#include <cstdio>

#include <CLI/CLI.hpp>

#include "CliMain.h"
#include "common/TextCodec.h"
#include "records/SalesCaptions.h"
#ifdef KORVAN_HAVE_PDF
#include "print/ui/SalesPdf.h"
#endif
#include "records/SalesQuery.h"
#include "records/SalesRecordFile.h"
#include "records/SalesWorkbook.h"

namespace korvan::cli {
namespace {

constexpr Tr kExported{"记录已导出到 %s：%zu 条", "Records exported to %s: %zu"};
constexpr Tr kPrinted{"记录已打印到 %s：%zu 页", "Records printed to %s: %zu pages"};
constexpr Tr kPrintFailed{"无法写入PDF文件", "The PDF file could not be written"};

std::string format(const char* pattern, const std::string& file, std::size_t count) {
    const int length = std::snprintf(nullptr, 0, pattern, file.c_str(), count);
    std::string line(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::snprintf(line.data(), line.size() + 1, pattern, file.c_str(), count);
    return line;
}

} // namespace

SalesOutput::SalesOutput(std::string name, std::string help)
    : CliCommand({}, std::move(name), std::move(help)) {}

void SalesOutput::addQueryOptions(CLI::App& command) {
    command
        .add_option("--date", dateQuery_,
                    "only records whose time starts with these ten characters")
        ->type_name("DATE");
    command.add_option("--name", nameQuery_, "only records of exactly this commodity name")
        ->type_name("NAME");
}

CliOutcome SalesOutput::run(const CliContext& context) {
    const std::string tryHelp = "\nTry '" + context.helpPrefix + " --help' for more information.";
    // The query compares the file's bytes, so the words typed are compared in code page 936.
    const auto date = TextCodec::toGbk(dateQuery_);
    const auto name = TextCodec::toGbk(nameQuery_);
    if (!date || !name)
        return {kExitUsage,
                std::string("--date and --name take text that code page 936 can write") + tryHelp};
    if (date->size() > SalesQuery::kDateKeyBytes)
        return {kExitUsage, "--date takes the first ten characters of a time, not '" + dateQuery_ +
                                "'" + tryHelp};

    const auto records = SalesRecords::load(SalesRecordFile::file(context.dir));
    if (!records)
        return {kExitUsage, records.result.message()};
    const SalesSelection rows = SalesQuery{*date, *name}.run(records.value);
    // As on the screen, an empty list is neither exported nor printed.
    if (rows.size() == 0)
        return {kExitFailed, SalesCaptions::kNoRecord.get(context.lang)};
    return write(rows, context.lang);
}

ExportRecords::ExportRecords()
    : SalesOutput("export-records",
                  "writes the sales records of record/dzcjl.rec, or those the query matches, into "
                  "a spreadsheet file (no scale needed)") {}

void ExportRecords::addOptions(CLI::App& command) {
    command.add_option("--xlsx", xlsxFile_, "the workbook to write")->required()->type_name("FILE");
    addQueryOptions(command);
}

CliOutcome ExportRecords::write(const SalesSelection& rows, Lang lang) const {
    const auto written = SalesWorkbook::write(xlsxFile_, rows, SalesCaptions::columns(lang));
    if (!written)
        return {kExitFailed, written.message(), written.detail};
    return {kExitDone, format(kExported.get(lang), xlsxFile_, rows.size())};
}

PrintRecords::PrintRecords()
    : SalesOutput("print-records",
                  "prints the sales records of record/dzcjl.rec, or those the query matches, into "
                  "a PDF file as the record screen prints them (no scale needed)") {}

void PrintRecords::addOptions(CLI::App& command) {
    command.add_option("--pdf", pdfFile_, "the PDF file to write")->required()->type_name("FILE");
    addQueryOptions(command);
}

CliOutcome PrintRecords::write(const SalesSelection& rows, Lang lang) const {
#ifdef KORVAN_HAVE_PDF
    const auto printed = SalesPdf::write(pdfFile_, rows, lang);
    if (!printed)
        return {kExitFailed, kPrintFailed.get(lang), printed.result.why()};
    return {kExitDone, format(kPrinted.get(lang), pdfFile_, printed.value)};
#else
    (void)rows;
    return {kExitFailed, kPrintFailed.get(lang), "this build has no PDF printing"};
#endif
}

} // namespace korvan::cli
