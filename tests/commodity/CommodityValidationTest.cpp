#include "commodity/CommodityValidation.h"

#include <gtest/gtest.h>

using namespace korvan;
using Mode = CommodityValidation::Mode;

namespace {

CommodityForm complete() {
    CommodityForm f = CommodityForm::cleared();
    f.name = "Apple";
    f.code = "1001";
    f.unitPrice = "5.00";
    return f;
}

std::optional<CommodityCheck> check(const CommodityForm& f, Mode mode = Mode::Adding,
                                    std::size_t rows = 0) {
    return CommodityValidation::firstFailure(f, mode, rows);
}

} // namespace

TEST(CommodityValidation, ChecksApplyInTableOrder) {
    // Emptying the fields from the last to the first, the reported check walks up the table.
    CommodityForm f = complete();
    EXPECT_EQ(check(f), std::nullopt);
    f.descriptionNumber.clear();
    EXPECT_EQ(check(f), CommodityCheck::DescriptionEmpty);
    f.discountRate.clear();
    EXPECT_EQ(check(f), CommodityCheck::DiscountRateEmpty);
    f.discount.reset();
    EXPECT_EQ(check(f), CommodityCheck::DiscountEmpty);
    f.shelfLife.clear();
    EXPECT_EQ(check(f), CommodityCheck::ShelfLifeEmpty);
    f.tare.clear();
    EXPECT_EQ(check(f), CommodityCheck::TareEmpty);
    f.salesMode.reset();
    EXPECT_EQ(check(f), CommodityCheck::SalesModeEmpty);
    f.priceChange.reset();
    EXPECT_EQ(check(f), CommodityCheck::PriceChangeEmpty);
    f.unitPrice.clear();
    EXPECT_EQ(check(f), CommodityCheck::UnitPriceEmpty);
    f.code.clear();
    EXPECT_EQ(check(f), CommodityCheck::CodeEmpty);
    f.name.clear();
    EXPECT_EQ(check(f), CommodityCheck::NameEmpty);
    // The row limit comes before any field when adding, and does not apply when updating.
    EXPECT_EQ(check(f, Mode::Adding, 2000), CommodityCheck::TooManyRows);
    EXPECT_EQ(check(complete(), Mode::Adding, 2001), CommodityCheck::TooManyRows);
    EXPECT_EQ(check(complete(), Mode::Adding, 1999), std::nullopt);
    EXPECT_EQ(check(complete(), Mode::Updating, 2500), std::nullopt);
    EXPECT_EQ(check(f, Mode::Updating, 2500), CommodityCheck::NameEmpty);
}

TEST(CommodityValidation, NumberFieldsTakeUnsignedDigitsWithAtMostOnePoint) {
    using F = CommodityForm;
    using enum CommodityCheck;
    const std::tuple<std::string F::*, const char*, std::optional<CommodityCheck>> cases[] = {
        {&F::name, " ", {}},
        {&F::unitPrice, "5.", {}},
        {&F::unitPrice, ".5", {}},
        {&F::unitPrice, "ab1.5x", UnitPriceNotNumber},
        {&F::unitPrice, "1.2.3", UnitPriceNotNumber},
        {&F::unitPrice, "-1", UnitPriceNotNumber},
        {&F::unitPrice, ".", UnitPriceNotNumber},
        {&F::tare, "12.5", {}},
        {&F::tare, "  ", TareNotNumber},
        {&F::tare, "1e3", TareNotNumber},
        {&F::shelfLife, "1.5", ShelfLifeNotNumber},
        {&F::discountRate, "1%", DiscountRateNotNumber}};
    for (const auto& [field, text, failure] : cases) {
        CommodityForm f = complete();
        f.*field = text;
        EXPECT_EQ(check(f), failure) << text;
        EXPECT_EQ(check(f, Mode::Updating), failure) << text;
    }
}

TEST(CommodityValidation, DescriptionNumberLimitWhenAddingOnly) {
    CommodityForm f = complete();
    for (const char* ok : {"32", "05", "3x", "x", "-7", " 9", "0"}) {
        f.descriptionNumber = ok;
        EXPECT_EQ(check(f), std::nullopt) << ok;
    }
    for (const char* high : {"33", "45", " 40", "+99"}) {
        f.descriptionNumber = high;
        EXPECT_EQ(check(f), CommodityCheck::DescriptionTooHigh) << high;
        EXPECT_EQ(check(f, Mode::Updating), std::nullopt) << high;
    }
}
