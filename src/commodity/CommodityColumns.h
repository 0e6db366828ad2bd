#pragma once
// The columns of the commodity list: one per record field, in record order, with the header the
// list shows in each language, the field's own name and the width the list gives it. The screen's
// list, the spreadsheet export and the import's header matching all read this one table.
#include <array>
#include <optional>
#include <string_view>

#include "CommodityRecord.h"
#include "common/Language.h"

namespace korvan {

struct CommodityColumn {
    CommodityField field;
    Tr header;             // the list's column header
    const char* fieldName; // the field's name ("Unit price"), accepted as a header too
    int width;             // pixels in the list
};

namespace CommodityColumns {

const std::array<CommodityColumn, CommodityRecord::kFieldCount>& all();
const CommodityColumn& of(CommodityField field);
// The field a spreadsheet header names: the list's header in either language or the field's name,
// ASCII case ignored, blanks around the text ignored. None for any other text.
std::optional<CommodityField> match(std::string_view headerUtf8);
// Whether two texts are the same word as a spreadsheet cell may write it: ASCII case ignored,
// blanks around either text ignored, any other byte exact.
bool sameWord(std::string_view a, std::string_view b);

} // namespace CommodityColumns
} // namespace korvan
