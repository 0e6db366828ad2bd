#include "CommodityValidation.h"

#include "common/Number.h"

#include <utility>

namespace korvan {

const Tr& CommodityValidation::message(CommodityCheck check) {
    static const Tr kMessages[] = {
        {"商品数据不能超过2000", "Commodity data should not exceed 2000"},
        {"商品名不能为空", "Commodity name can't be empty"},
        {"商品编码不能为空", "Commodity Code Can't Be Empty"},
        {"商品单价不能为空", "Commodity unit price can't be empty"},
        {"可否变价不能为空", "Price change not be empty"},
        {"销售模式不能为空", "Sales model can't be empty"},
        {"皮重不能为空", "Tare weight should not be empty"},
        {"保质期不能为空", "The shelf life should not be empty"},
        {"可否打折不能为空", "Discount not be empty"},
        {"折扣率不能为空", "The discount rate should not be empty"},
        {"商品说明不能为空", "Commodity description should not be empty"},
        {"商品说明不能大于32", "Commodity description should not be greater than 32"},
        {"商品单价必须是数字(不带符号, 最多一个小数点)",
         "Commodity unit price must be a number (digits, at most one decimal point, no sign)"},
        {"皮重必须是数字(不带符号, 最多一个小数点)",
         "Tare weight must be a number (digits, at most one decimal point, no sign)"},
        {"保质期必须是整数天数", "The shelf life must be a whole number of days"},
        {"折扣率必须是数字(不带符号, 最多一个小数点)",
         "The discount rate must be a number (digits, at most one decimal point, no sign)"},
    };
    return kMessages[static_cast<std::size_t>(check)];
}

std::optional<CommodityCheck> CommodityValidation::firstFailure(const CommodityForm& f, Mode mode,
                                                                std::size_t rowCount) {
    const bool adding = mode == Mode::Adding;
    if (adding && rowCount >= kMaxRows)
        return CommodityCheck::TooManyRows;
    if (f.name.empty())
        return CommodityCheck::NameEmpty;
    if (f.code.empty())
        return CommodityCheck::CodeEmpty;
    if (f.unitPrice.empty())
        return CommodityCheck::UnitPriceEmpty;
    if (!f.priceChange)
        return CommodityCheck::PriceChangeEmpty;
    if (!f.salesMode)
        return CommodityCheck::SalesModeEmpty;
    if (f.tare.empty())
        return CommodityCheck::TareEmpty;
    if (f.shelfLife.empty())
        return CommodityCheck::ShelfLifeEmpty;
    if (!f.discount)
        return CommodityCheck::DiscountEmpty;
    if (f.discountRate.empty())
        return CommodityCheck::DiscountRateEmpty;
    if (f.descriptionNumber.empty())
        return CommodityCheck::DescriptionEmpty;
    // An existing row may keep a number above the limit (it came from the file); only a new record
    // is held to it. "05" passes as 5, "3x" as 3, text without digits as 0.
    if (adding && Number::parseInt(f.descriptionNumber) > kMaxDescriptionNumber)
        return CommodityCheck::DescriptionTooHigh;
    // The scale takes these as numbers: "ab1.5x" must never reach it as a price.
    for (const auto& [field, text] : {std::pair{CommodityField::UnitPrice, &f.unitPrice},
                                      std::pair{CommodityField::Tare, &f.tare},
                                      std::pair{CommodityField::ShelfLife, &f.shelfLife},
                                      std::pair{CommodityField::DiscountRate, &f.discountRate}}) {
        if (auto failed = numberFailure(field, *text))
            return failed;
    }
    return std::nullopt;
}

std::optional<CommodityField> CommodityValidation::fieldOf(CommodityCheck check) {
    switch (check) {
    case CommodityCheck::TooManyRows:
        return std::nullopt;
    case CommodityCheck::DescriptionTooHigh:
        return CommodityField::DescriptionNumber;
    case CommodityCheck::UnitPriceNotNumber:
        return CommodityField::UnitPrice;
    case CommodityCheck::TareNotNumber:
        return CommodityField::Tare;
    case CommodityCheck::ShelfLifeNotNumber:
        return CommodityField::ShelfLife;
    case CommodityCheck::DiscountRateNotNumber:
        return CommodityField::DiscountRate;
    default:
        // The emptiness checks follow the fields in record order.
        return static_cast<CommodityField>(static_cast<std::size_t>(check) -
                                           static_cast<std::size_t>(CommodityCheck::NameEmpty));
    }
}

bool CommodityValidation::isNumber(std::string_view text, NumberRule rule) {
    bool digit = false;
    bool point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            digit = true;
        else if (c == '.' && rule == NumberRule::Decimal && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

std::optional<CommodityCheck> CommodityValidation::numberCheck(CommodityField field) {
    switch (field) {
    case CommodityField::UnitPrice:
        return CommodityCheck::UnitPriceNotNumber;
    case CommodityField::Tare:
        return CommodityCheck::TareNotNumber;
    case CommodityField::ShelfLife:
        return CommodityCheck::ShelfLifeNotNumber;
    case CommodityField::DiscountRate:
        return CommodityCheck::DiscountRateNotNumber;
    default:
        return std::nullopt;
    }
}

std::optional<CommodityCheck> CommodityValidation::numberFailure(CommodityField field,
                                                                 std::string_view text) {
    const auto check = numberCheck(field);
    if (!check)
        return std::nullopt;
    const NumberRule rule =
        field == CommodityField::ShelfLife ? NumberRule::Whole : NumberRule::Decimal;
    return isNumber(text, rule) ? std::nullopt : check;
}

} // namespace korvan
