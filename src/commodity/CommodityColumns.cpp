#include "CommodityColumns.h"
#include "common/Text.h"

namespace korvan {
namespace CommodityColumns {
namespace {

const std::array<CommodityColumn, CommodityRecord::kFieldCount> kColumns{{
    {CommodityField::Name, {"商品名", "name"}, "Name", 125},
    {CommodityField::Code, {"商品编码", "Commodity Code"}, "Code", 115},
    {CommodityField::UnitPrice, {"单价", "Price"}, "Unit price", 60},
    {CommodityField::PriceChange, {"可否变价", "change"}, "Price change", 70},
    {CommodityField::SalesMode, {"模式", "model"}, "Sales mode", 70},
    {CommodityField::Tare, {"皮重_g", "tare_g"}, "Tare", 60},
    {CommodityField::ShelfLife, {"保质期_天", "EXP_day"}, "Shelf life", 75},
    {CommodityField::Discount, {"可否打折", "Discount"}, "Discount", 80},
    {CommodityField::DiscountRate, {"折扣率_%", "rate_%"}, "Discount rate", 70},
    {CommodityField::DescriptionNumber, {"商品说明", "careful"}, "Description number", 80},
}};

} // namespace

const std::array<CommodityColumn, CommodityRecord::kFieldCount>& all() {
    return kColumns;
}

const CommodityColumn& of(CommodityField field) {
    return kColumns[static_cast<std::size_t>(field)];
}

bool sameWord(std::string_view a, std::string_view b) {
    return Text::asciiLower(Text::trimmed(a)) == Text::asciiLower(Text::trimmed(b));
}

std::optional<CommodityField> match(std::string_view headerUtf8) {
    if (Text::trimmed(headerUtf8).empty())
        return std::nullopt;
    for (const CommodityColumn& column : kColumns) {
        if (sameWord(headerUtf8, column.header.zh) || sameWord(headerUtf8, column.header.en) ||
            sameWord(headerUtf8, column.fieldName))
            return column.field;
    }
    return std::nullopt;
}

} // namespace CommodityColumns
} // namespace korvan
