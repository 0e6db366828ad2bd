#include "CommodityRecord.h"

#include "common/RecordFile.h"
#include "common/TextCodec.h"

namespace korvan {
namespace {

constexpr std::array<std::size_t, CommodityRecord::kFieldCount> kMaxBytes = {
    16, // name
    16, // code
    6,  // unit price
    0,  // price change
    0,  // sales mode
    5,  // tare
    4,  // shelf life
    0,  // discount
    2,  // discount rate
    2,  // description number
};

} // namespace

CommodityRecord CommodityRecord::newRecord() {
    CommodityRecord r;
    r.priceChange = PriceChange::Yes;
    r.salesMode = SalesMode::Weight;
    r.tare = "0";
    r.shelfLife = "0";
    r.discount = Discount::No;
    r.discountRate = "0";
    r.descriptionNumber = "0";
    return r;
}

CommodityRecord CommodityRecord::fromLine(std::string_view line) {
    std::vector<std::string> f = RecordFile::splitFields(line, kFieldCount);
    CommodityRecord r;
    r.name = std::move(f[0]);
    r.code = std::move(f[1]);
    r.unitPrice = std::move(f[2]);
    r.priceChange = ChoiceWords::readPriceChange(f[3]);
    r.salesMode = ChoiceWords::readSalesMode(f[4]);
    r.tare = std::move(f[5]);
    r.shelfLife = std::move(f[6]);
    r.discount = ChoiceWords::readDiscount(f[7]);
    r.discountRate = std::move(f[8]);
    r.descriptionNumber = std::move(f[9]);
    return r;
}

std::string CommodityRecord::toLine() const {
    const std::string_view fields[kFieldCount] = {
        name,
        code,
        unitPrice,
        ChoiceWords::fileWord(priceChange),
        ChoiceWords::fileWord(salesMode),
        tare,
        shelfLife,
        ChoiceWords::fileWord(discount),
        discountRate,
        descriptionNumber,
    };
    std::size_t size = kFieldCount - 1;
    for (std::string_view f : fields)
        size += f.size();
    std::string line;
    line.reserve(size);
    for (std::size_t i = 0; i < kFieldCount; ++i) {
        if (i)
            line += kFieldSeparator;
        line += fields[i];
    }
    return line;
}

std::string CommodityRecord::cell(CommodityField field) const {
    switch (field) {
    case CommodityField::Name:
        return name;
    case CommodityField::Code:
        return code;
    case CommodityField::UnitPrice:
        return unitPrice;
    case CommodityField::PriceChange:
        return std::string(ChoiceWords::fileWord(priceChange));
    case CommodityField::SalesMode:
        return std::string(ChoiceWords::fileWord(salesMode));
    case CommodityField::Tare:
        return tare;
    case CommodityField::ShelfLife:
        return shelfLife;
    case CommodityField::Discount:
        return std::string(ChoiceWords::fileWord(discount));
    case CommodityField::DiscountRate:
        return discountRate;
    case CommodityField::DescriptionNumber:
        return descriptionNumber;
    }
    return {};
}

std::string CommodityRecord::displayText(CommodityField field, Lang lang) const {
    switch (field) {
    case CommodityField::PriceChange:
        return std::string(ChoiceWords::displayText(priceChange, lang));
    case CommodityField::SalesMode:
        return std::string(ChoiceWords::displayText(salesMode, lang));
    case CommodityField::Discount:
        return std::string(ChoiceWords::displayText(discount, lang));
    default:
        return TextCodec::toUtf8Lossy(cell(field));
    }
}

std::string CommodityRecord::listCell(CommodityField field, Lang lang) const {
    switch (field) {
    case CommodityField::PriceChange:
        return std::string(ChoiceWords::displayBytes(priceChange, lang));
    case CommodityField::SalesMode:
        return std::string(ChoiceWords::displayBytes(salesMode, lang));
    case CommodityField::Discount:
        return std::string(ChoiceWords::displayBytes(discount, lang));
    default:
        return cell(field);
    }
}

CommodityRow CommodityRecord::downloadRow() const {
    return CommodityRow{
        name,
        code,
        unitPrice,
        priceChange == PriceChange::Yes,
        salesMode == SalesMode::Weight,
        tare,
        shelfLife,
        discount == Discount::Yes,
        discountRate,
        descriptionNumber,
    };
}

std::size_t CommodityRecord::maxBytes(CommodityField field) {
    const auto i = static_cast<std::size_t>(field);
    return i < kMaxBytes.size() ? kMaxBytes[i] : 0;
}

bool CommodityRecord::isChoice(CommodityField field) {
    return field == CommodityField::PriceChange || field == CommodityField::SalesMode ||
           field == CommodityField::Discount;
}

bool CommodityRecord::fitsInput(CommodityField field, std::string_view utf8) {
    if (isChoice(field))
        return false;
    const auto length = TextCodec::gbkLength(utf8);
    return length && *length <= maxBytes(field);
}

} // namespace korvan
