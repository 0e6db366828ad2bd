#pragma once
// The commodity file record/sp.rec: one record per line, in list order, no header.
#include <filesystem>
#include <string>
#include <vector>

#include "CommodityRecord.h"
#include "common/RecordFile.h"

namespace korvan {

class CommodityFile {
public:
    // Every line gives a record, an empty line too; there is no limit on the count. A missing file
    // reads as empty; a file that cannot be read gives no records and a failed result.
    static Loaded<std::vector<CommodityRecord>> load(const std::filesystem::path& file);
    // Writes every record, CR LF after each, atomically; no records give a file of length zero.
    static IoResult save(const std::filesystem::path& file,
                         const std::vector<CommodityRecord>& records);

    // The rows a commodity download sends, first record first, ten cells per row in field order
    // (CommodityField): 0 name, 1 code, 2 unit price, 3 price change, 4 sales mode, 5 tare,
    // 6 shelf life, 7 discount, 8 discount rate, 9 description number. Text cells are the stored
    // bytes unchanged; choice cells are the file words, "Yes"/"No" (price change), "weight"/
    // "quantity" (sales mode), "Yes"/"No" (discount), whatever the language.
    static std::vector<std::vector<std::string>>
    downloadRows(const std::vector<CommodityRecord>& records);
};

} // namespace korvan
