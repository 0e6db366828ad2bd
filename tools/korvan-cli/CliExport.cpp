#include "CliExport.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "CliMain.h"
#include "common/RecordFile.h"
#include "common/TextCodec.h"
#include "records/SalesCaptions.h"
#include "records/SalesWorkbook.h"

namespace korvan::cli {
namespace {

constexpr std::size_t kDateKeyLength = 10;
constexpr const char* kTryHelp = "\nTry 'korvan-cli export-records --help' for more information.";
constexpr Tr kExported{"记录已导出到 %s：%zu 条", "Records exported to %s: %zu"};

// STAND-IN for the sales record store: reads record/dzcjl.rec and keeps the rows the query
// matches (the first ten bytes of the time and the whole name, exact bytes). To be replaced by
// the store's load and query, which give the same rows as a SalesRows view.
class MatchingRows : public SalesRows {
public:
    static Loaded<MatchingRows> load(const std::filesystem::path& file, const std::string& date,
                                     const std::string& name) {
        const auto lines = RecordFile::readLines(file);
        Loaded<MatchingRows> loaded{{}, lines.result};
        for (const std::string& line : lines.value) {
            const std::vector<std::string> fields = RecordFile::splitFields(line, kFields);
            if ((date.empty() || fields[0].substr(0, kDateKeyLength) == date) &&
                (name.empty() || fields[1] == name))
                loaded.value.rows_.push_back(
                    {fields[0], fields[1], fields[2], fields[3], fields[4]});
        }
        return loaded;
    }

    std::size_t size() const override { return rows_.size(); }
    std::string_view field(std::size_t row, std::size_t column) const override {
        return rows_[row][column];
    }

private:
    std::vector<std::array<std::string, kFields>> rows_;
};

} // namespace

CliExport::Outcome CliExport::run(const CliOptions& options, const DataDir& dir, Lang lang) {
    // The query compares the file's bytes, so the words typed are compared in code page 936.
    const auto date = TextCodec::toGbk(options.dateQuery);
    const auto name = TextCodec::toGbk(options.nameQuery);
    if (!date || !name)
        return {kExitUsage,
                std::string("--date and --name take text that code page 936 can write") + kTryHelp,
                {}};
    if (date->size() > kDateKeyLength)
        return {kExitUsage,
                "--date takes the first ten characters of a time, not '" + options.dateQuery + "'" +
                    kTryHelp,
                {}};

    const auto rows = MatchingRows::load(dir.record("dzcjl.rec"), *date, *name);
    if (!rows)
        return {kExitUsage, rows.result.message(), {}};
    // As on the screen, an empty list is not exported.
    if (rows.value.size() == 0)
        return {kExitFailed, SalesCaptions::kNoRecord.get(lang), {}};

    const auto written =
        SalesWorkbook::write(options.xlsxFile, rows.value, SalesCaptions::columns(lang));
    if (!written)
        return {kExitFailed, written.message(), written.detail};
    const char* format = kExported.get(lang);
    const int length =
        std::snprintf(nullptr, 0, format, options.xlsxFile.c_str(), rows.value.size());
    std::string line(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::snprintf(line.data(), line.size() + 1, format, options.xlsxFile.c_str(),
                  rows.value.size());
    return {kExitDone, line, {}};
}

} // namespace korvan::cli
