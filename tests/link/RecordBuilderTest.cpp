#include "link/RecordBuilder.h"
#include "support/WorkedExample.h"

#include "common/RecordFile.h"
#include "common/TextCodec.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {

std::string gbk(const char* utf8) {
    return TextCodec::toGbk(utf8).value();
}

CommodityRow apple() {
    return {"Apple", "1001", "5.00", true, true, "0", "7", false, "0", "3"};
}

// A text element as the label core hands it over.
LabelElementRow element(std::string name, std::string direction, bool bigFont, std::string sizeCode,
                        bool hidden = false) {
    return {name, direction, bigFont, false, sizeCode, "", hidden, "13", "14"};
}

LabelElementRow barCode(std::string name, std::string direction, bool bigFont,
                        std::string barHeight) {
    return {name, direction, bigFont, true, "", barHeight, false, "13", "14"};
}

} // namespace

TEST(RecordBuilder, FullCommodityRecordMatchesTheWorkedExample) {
    const std::string& expected = test::kAppleFullRecord;
    EXPECT_EQ(RecordBuilder::commodityFull(apple()), expected);
}

TEST(RecordBuilder, EachChoiceGivesItsOwnCodeAndDiscountHasTheOppositeSense) {
    struct Case {
        bool priceChangeable, byWeight, discountable;
        const char* codes; // of price change, sales mode and discount
    };
    const Case cases[] = {
        {true, true, false, "\x10\x10\x10"},  {false, true, false, "\x11\x10\x10"},
        {true, false, false, "\x10\x11\x10"}, {true, true, true, "\x10\x10\x11"},
        {false, false, true, "\x11\x11\x11"},
    };
    for (const Case& c : cases) {
        CommodityRow row = apple();
        row.priceChangeable = c.priceChangeable;
        row.byWeight = c.byWeight;
        row.discountable = c.discountable;
        const auto fields = RecordFile::splitFields(RecordBuilder::commodityFull(row), 11);
        EXPECT_EQ(fields[4] + fields[5] + fields[8], c.codes)
            << c.priceChangeable << c.byWeight << c.discountable;
    }
}

TEST(RecordBuilder, ShortCommodityNameIsCutAtTenBytes) {
    CommodityRow row = apple();
    row.name = "ABCDEFGHIJ"; // exactly 10 bytes: sent whole
    EXPECT_EQ(RecordBuilder::commodityShort(row), "0000\x0C"
                                                  "ABCDEFGHIJ\x0C"
                                                  "5.00\r\n");
    row.name = "ABCDEFGHIJK";
    EXPECT_EQ(RecordBuilder::commodityShort(row), "0000\x0C"
                                                  "ABCDEFGHIJ\x0C"
                                                  "5.00\r\n");
    // Bytes, not characters: the cut may split a two-byte character.
    row.name = "A" + gbk("苹果苹果苹果");
    EXPECT_EQ(RecordBuilder::commodityShort(row), "0000\x0C" + row.name.substr(0, 10) +
                                                      "\x0C"
                                                      "5.00\r\n");
}

TEST(RecordBuilder, MissingCellsAndZeroBytesNeverBreakARecord) {
    EXPECT_EQ(RecordBuilder::commodityShort(CommodityRow{}), "0000\x0C\x0C\r\n");
    EXPECT_EQ(RecordBuilder::text(std::string("a\0b", 3)), "ab\r\n");
}

// The label core decides each value (LabelDownloadTest shows whole labels); here, the fields.
TEST(RecordBuilder, LabelElementFields) {
    // A hidden row sends 0x80 but uses up its number; an unknown direction and no size give
    // empty fields.
    EXPECT_EQ(RecordBuilder::labelElement(element("X", "45", true, "", true), 4),
              "\x80\x0C"
              "13\x0C"
              "14\x0C\x18\x0C\x0C\x0C"
              "X\r\n");
    // The bar code: no height without the big font, "2", then the direction.
    EXPECT_EQ(RecordBuilder::labelElement(barCode("Whatever", "sideways", false, "7"), 9),
              "\x8A\x0C"
              "13\x0C"
              "14\x0C\x0C"
              "2\x0C\x0C"
              "Whatever\r\n");
}

TEST(RecordBuilder, BuildPicksTheRowOfTheStep) {
    const LabelPayload elements{
        {"1", "56", "35"}, {element("A", "0", false, "\x11"), element("B", "0", false, "\x11")}};
    const JobRequest label{elements};
    EXPECT_EQ(RecordBuilder::build(label, 0), "1\x0C"
                                              "56\x0C"
                                              "35\r\n");
    EXPECT_EQ(RecordBuilder::build(label, 2), RecordBuilder::labelElement(elements.elements[1], 1));
    EXPECT_EQ(RecordBuilder::build(label, 3), "");

    const JobRequest descriptions{DescriptionPayload{{{"7", "Fresh"},
                                                      {"8", "a\x0C"
                                                            "b"}}}};
    EXPECT_EQ(RecordBuilder::build(descriptions, 0), "Fresh\r\n"); // the number is not sent
    EXPECT_EQ(RecordBuilder::build(descriptions, 1), "a\x0C"
                                                     "b\r\n");

    const JobRequest orinKesa{CommodityPayload{{apple()}, ModelFamily::OrinKesa}};
    EXPECT_EQ(RecordBuilder::build(orinKesa, 0), RecordBuilder::commodityShort(apple()));
    const JobRequest vamo{CommodityPayload{{apple()}, ModelFamily::Vamo}};
    EXPECT_EQ(RecordBuilder::build(vamo, 0), RecordBuilder::commodityFull(apple()));
    // Jobs without records build none.
    EXPECT_EQ(RecordBuilder::build(JobRequest{ClearRecordsPayload{}}, 0), "");
}

TEST(RecordBuilder, StoreTextKeepsInnerLineBreaks) {
    const JobRequest store{StoreNamePayload{"Corner\r\nShop"}};
    EXPECT_EQ(RecordBuilder::build(store, 0), "Corner\r\nShop\r\n");
    EXPECT_EQ(RecordBuilder::build(store, 1), "");
}

TEST(RecordBuilder, DateTimeTextHasThirteenDigits) {
    std::tm monday{};
    monday.tm_year = 2026 - 1900;
    monday.tm_mon = 11;
    monday.tm_mday = 7;
    monday.tm_hour = 2;
    monday.tm_min = 53;
    monday.tm_sec = 32;
    monday.tm_wday = 1;
    EXPECT_EQ(RecordBuilder::dateTimeText(monday), "2611207025332");

    std::tm sunday{};
    sunday.tm_year = 2026 - 1900;
    sunday.tm_mon = 2;
    sunday.tm_mday = 1;
    sunday.tm_sec = 5;
    sunday.tm_wday = 0; // Sunday is 7, not 0
    EXPECT_EQ(RecordBuilder::dateTimeText(sunday), "2670301000005");
}
