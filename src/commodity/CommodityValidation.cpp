#include "CommodityValidation.h"

#include "common/Number.h"

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
    return std::nullopt;
}

} // namespace korvan
