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
    const struct {
        std::string CommodityForm::*field;
        const char* text;
        std::optional<CommodityCheck> failure;
    } cases[] = {
        {&CommodityForm::name, " ", std::nullopt}, // blanks are text in a text field
        {&CommodityForm::unitPrice, "5.00", std::nullopt},
        {&CommodityForm::unitPrice, ".5", std::nullopt},
        {&CommodityForm::unitPrice, "5.", std::nullopt},
        {&CommodityForm::unitPrice, "ab1.5x", CommodityCheck::UnitPriceNotNumber},
        {&CommodityForm::unitPrice, "1.2.3", CommodityCheck::UnitPriceNotNumber},
        {&CommodityForm::unitPrice, "-1", CommodityCheck::UnitPriceNotNumber},
        {&CommodityForm::unitPrice, "+1", CommodityCheck::UnitPriceNotNumber},
        {&CommodityForm::unitPrice, ".", CommodityCheck::UnitPriceNotNumber},
        {&CommodityForm::unitPrice, " 5", CommodityCheck::UnitPriceNotNumber},
        {&CommodityForm::tare, "12.5", std::nullopt},
        {&CommodityForm::tare, "  ", CommodityCheck::TareNotNumber},
        {&CommodityForm::tare, "1e3", CommodityCheck::TareNotNumber},
        {&CommodityForm::shelfLife, "365", std::nullopt},
        {&CommodityForm::shelfLife, "1.5", CommodityCheck::ShelfLifeNotNumber},
        {&CommodityForm::discountRate, "15", std::nullopt},
        {&CommodityForm::discountRate, "1%", CommodityCheck::DiscountRateNotNumber},
    };
    for (const auto& c : cases) {
        CommodityForm f = complete();
        f.*c.field = c.text;
        EXPECT_EQ(check(f), c.failure) << c.text;
        EXPECT_EQ(check(f, Mode::Updating), c.failure) << c.text;
    }
    // Every field filled in comes first: an empty description is reported before a bad price.
    CommodityForm f = complete();
    f.unitPrice = "x";
    f.descriptionNumber.clear();
    EXPECT_EQ(check(f), CommodityCheck::DescriptionEmpty);
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
