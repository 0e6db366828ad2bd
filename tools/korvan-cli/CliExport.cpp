#include "CliExport.h"

#include <algorithm>
#include <cstdio>

#include "CliMain.h"
#include "common/TextCodec.h"
#include "records/SalesCaptions.h"
#ifdef KORVAN_HAVE_PDF
#include "print/SalesPdf.h"
#endif
#include "records/SalesQuery.h"
#include "records/SalesWorkbook.h"

namespace korvan::cli {
namespace {

constexpr const char* kTryHelp = "\nTry 'korvan-cli export-records --help' for more information.";
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

CliExport::Outcome CliExport::run(const CliOptions& options, const DataDir& dir, Lang lang) {
    // The query compares the file's bytes, so the words typed are compared in code page 936.
    const auto date = TextCodec::toGbk(options.dateQuery);
    const auto name = TextCodec::toGbk(options.nameQuery);
    if (!date || !name)
        return {kExitUsage,
                std::string("--date and --name take text that code page 936 can write") + kTryHelp,
                {}};
    if (date->size() > SalesQuery::kDateKeyBytes)
        return {kExitUsage,
                "--date takes the first ten characters of a time, not '" + options.dateQuery + "'" +
                    kTryHelp,
                {}};

    const auto records = SalesRecords::load(dir.record("dzcjl.rec"));
    if (!records)
        return {kExitUsage, records.result.message(), {}};
    const SalesSelection rows = SalesQuery{*date, *name}.run(records.value);
    // As on the screen, an empty list is neither exported nor printed.
    if (rows.size() == 0)
        return {kExitFailed, SalesCaptions::kNoRecord.get(lang), {}};

    if (options.command == Command::PrintRecords) {
#ifdef KORVAN_HAVE_PDF
        const SalesPdf::Result printed = SalesPdf::write(options.pdfFile, rows, lang);
        if (!printed.ok)
            return {kExitFailed, kPrintFailed.get(lang), printed.detail};
        return {kExitDone, format(kPrinted.get(lang), options.pdfFile, printed.pages), {}};
#else
        return {kExitFailed, kPrintFailed.get(lang), "this build has no PDF printing"};
#endif
    }
    const auto written = SalesWorkbook::write(options.xlsxFile, rows, SalesCaptions::columns(lang));
    if (!written)
        return {kExitFailed, written.message(), written.detail};
    return {kExitDone, format(kExported.get(lang), options.xlsxFile, rows.size()), {}};
}

} // namespace korvan::cli
