#include "CommodityExport.h"

#include <algorithm>

#include "CommodityColumns.h"
#include "common/Text.h"
#include "common/TextCodec.h"
#include "sheets/CsvWriter.h"
#include "sheets/Workbook.h"

namespace korvan::CommodityExport {
namespace {

const Tr kFailed{"无法导出到该文件", "Could not export to the file"};

constexpr std::size_t kFields = CommodityRecord::kFieldCount;

} // namespace

Format formatOf(const std::filesystem::path& file) {
    return Text::asciiLower(file.extension().string()) == ".xlsx" ? Format::Xlsx : Format::Csv;
}

std::vector<std::vector<std::string>> table(const std::vector<CommodityRecord>& records,
                                            Lang lang) {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(records.size() + 1);
    std::vector<std::string>& header = rows.emplace_back();
    for (const CommodityColumn& column : CommodityColumns::all())
        header.emplace_back(column.header.get(lang));
    for (const CommodityRecord& record : records) {
        std::vector<std::string>& row = rows.emplace_back();
        row.reserve(kFields);
        for (std::size_t i = 0; i < kFields; ++i)
            row.push_back(record.displayText(static_cast<CommodityField>(i), lang));
    }
    return rows;
}

std::string csv(const std::vector<CommodityRecord>& records, Lang lang) {
    return CsvWriter::write(table(records, lang));
}

IoResult write(const std::filesystem::path& file, const std::vector<CommodityRecord>& records,
               Lang lang) {
    if (formatOf(file) == Format::Csv)
        return RecordFile::writeAll(file, csv(records, lang), std::filesystem::perms(0644),
                                    RecordFile::MakeFolder::No);
    const auto rows = table(records, lang);
    const IoResult written = Workbook::write(file, [&rows](Workbook::Book& book) {
        Workbook::Sheet& sheet = book.addSheet();
        // Text cells, so a code like "0012" keeps its zeros also when the operator edits it.
        Workbook::Style text;
        text.text = true;
        Workbook::Style header = text;
        header.bold = true;
        std::vector<Workbook::Cell> cells;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            cells.assign(rows[r].begin(), rows[r].begin() + std::min(rows[r].size(), kFields));
            sheet.addRow(cells, r == 0 ? header : text);
        }
        sheet.setColumnStyle(text);
        sheet.freeze(1, 0);
        return IoResult{};
    });
    return written.toldAs(kFailed, file);
}

} // namespace korvan::CommodityExport
