#include "CommodityColumns.h"

#include <cctype>

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

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y && (x >= 0x80 || y >= 0x80 || std::tolower(x) != std::tolower(y)))
            return false;
    }
    return true;
}

} // namespace

const std::array<CommodityColumn, CommodityRecord::kFieldCount>& all() {
    return kColumns;
}

const CommodityColumn& of(CommodityField field) {
    return kColumns[static_cast<std::size_t>(field)];
}

bool sameWord(std::string_view a, std::string_view b) {
    return sameText(trimmed(a), trimmed(b));
}

std::optional<CommodityField> match(std::string_view headerUtf8) {
    if (trimmed(headerUtf8).empty())
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
