#include <gtest/gtest.h>

#include "korvan-scale/RecordDecoder.h"
#include "support/WorkedExample.h"
#include "tools/scale/Records.h"

using namespace korvan;
using namespace korvan::sim;
using korvan::test::byte;
using korvan::test::record;

namespace {

std::string bodyOf(const std::string& message) {
    auto body = RecordDecoder::body(message);
    EXPECT_TRUE(body) << body.error;
    return body.value.value_or("");
}

} // namespace

TEST(RecordDecoder, BodyNeedsTheRecordEndAndNoZeroByte) {
    EXPECT_EQ(bodyOf("a\x0C"
                     "b\r\n"),
              "a\x0C"
              "b");
    // A store text typed on several lines keeps its inner line breaks.
    EXPECT_EQ(bodyOf("line 1\r\nline 2\r\n"), "line 1\r\nline 2");
    EXPECT_EQ(bodyOf("\r\n"), "");
    EXPECT_FALSE(RecordDecoder::body("no end"));
    EXPECT_FALSE(RecordDecoder::body("only LF\n"));
    EXPECT_FALSE(RecordDecoder::body("\n"));
    EXPECT_FALSE(RecordDecoder::body(std::string("a\0b\r\n", 5)));
}

TEST(RecordDecoder, FullCommodityFromTheDocumentedExample) {
    // Apple, 1001, 5.00, Yes, weight, 0, 7, No, 0, 3
    const std::string& bytes = korvan::test::kAppleFullRecord;
    auto r = RecordDecoder::commodity(bodyOf(bytes), true);
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(r.value->name, "Apple");
    EXPECT_EQ(r.value->code, "1001");
    EXPECT_EQ(r.value->price, "5.00");
    EXPECT_EQ(r.value->priceChange, "Yes");
    EXPECT_EQ(r.value->salesMode, "weight");
    EXPECT_EQ(r.value->tare, "0");
    EXPECT_EQ(r.value->shelfLife, "7");
    // 0x10 in the discount field means the commodity may not be discounted.
    EXPECT_EQ(r.value->discount, "No");
    EXPECT_EQ(r.value->discountRate, "0");
    EXPECT_EQ(r.value->description, "3");

    auto other =
        RecordDecoder::commodity(bodyOf(record({"0000", korvan::test::kApple, "", "", byte(0x11),
                                                byte(0x11), "", "", byte(0x11), "", ""})),
                                 true);
    ASSERT_TRUE(other) << other.error;
    EXPECT_EQ(other.value->name, korvan::test::kApple);
    EXPECT_EQ(other.value->priceChange, "No");
    EXPECT_EQ(other.value->salesMode, "quantity");
    EXPECT_EQ(other.value->discount, "Yes");
}

TEST(RecordDecoder, FullCommodityRefusesWhatNoPcSends) {
    const auto good = [](std::string priceChange, std::string first = "0000") {
        return record(
            {first, "n", "c", "1", priceChange, byte(0x10), "0", "0", byte(0x10), "0", "0"});
    };
    EXPECT_TRUE(RecordDecoder::commodity(bodyOf(good(byte(0x10))), true));
    EXPECT_FALSE(RecordDecoder::commodity(bodyOf(good("")), true));
    EXPECT_FALSE(RecordDecoder::commodity(bodyOf(good("Yes")), true));
    EXPECT_FALSE(RecordDecoder::commodity(bodyOf(good(byte(0x10), "0001")), true));
    // A form feed inside a name shifts the fields: the record no longer has 11 of them.
    EXPECT_FALSE(RecordDecoder::commodity(
        bodyOf(record({"0000",
                       "a\x0C"
                       "b",
                       "c", "1", byte(0x10), byte(0x10), "0", "0", byte(0x10), "0", "0"})),
        true));
    // A short-format record in a full-format job.
    EXPECT_FALSE(RecordDecoder::commodity(bodyOf(record({"0000", "Apple", "5.00"})), true));
}

TEST(RecordDecoder, ShortCommodityNameLimitCountsBytes) {
    auto r = RecordDecoder::commodity(bodyOf(record({"0000", "0123456789", "5.00"})), false);
    ASSERT_TRUE(r) << r.error;
    EXPECT_EQ(r.value->name, "0123456789");
    EXPECT_EQ(r.value->price, "5.00");
    EXPECT_TRUE(r.value->code.empty());
    EXPECT_FALSE(RecordDecoder::commodity(bodyOf(record({"0000", "0123456789A", "5"})), false));
    // A cut inside a two-byte character still arrives as its 10 bytes.
    const std::string cut = "abc" + korvan::test::kApple + "\xC6\xBB\xB9";
    ASSERT_EQ(cut.size(), 10u);
    auto half = RecordDecoder::commodity(bodyOf(record({"0000", cut, "1"})), false);
    ASSERT_TRUE(half) << half.error;
    EXPECT_EQ(half.value->name, cut);
    EXPECT_FALSE(RecordDecoder::commodity(bodyOf(record({"0000", "x", "1", "extra"})), false));
}

TEST(RecordDecoder, LabelHeaderAndTextElements) {
    auto header = RecordDecoder::labelHeader(bodyOf(record({"1", "40", "30"})));
    ASSERT_TRUE(header) << header.error;
    EXPECT_EQ(header.value->shopNumber, "1");
    EXPECT_EQ(header.value->width, "40");
    EXPECT_EQ(header.value->height, "30");
    EXPECT_FALSE(RecordDecoder::labelHeader(bodyOf(record({"1", "40"}))));

    struct Case {
        std::string direction;
        const char* degrees;
        std::string size;
        const char* sizeText;
    };
    const Case cases[] = {{byte(0x80), "0", byte(0x11), "12*24"},
                          {byte(0x83), "90", byte(0x20), "12*48"},
                          {byte(0x82), "180", byte(0x02), "24*24"},
                          {byte(0x81), "270", byte(0x22), "24*48"},
                          {"", "", "", ""}};
    int index = 0;
    for (const auto& c : cases) {
        auto e =
            RecordDecoder::labelElement(bodyOf(record({byte(0x81 + index), "12", "34", byte(0x18),
                                                       c.direction, c.size, "Price"})),
                                        index);
        ASSERT_TRUE(e) << c.degrees << ": " << e.error;
        EXPECT_EQ(e.value->index, index);
        EXPECT_TRUE(e.value->shown);
        EXPECT_FALSE(e.value->barcode);
        EXPECT_EQ(e.value->x, "12");
        EXPECT_EQ(e.value->y, "34");
        EXPECT_EQ(e.value->font, "12*24");
        EXPECT_EQ(e.value->direction, c.degrees);
        EXPECT_EQ(e.value->size, c.sizeText);
        EXPECT_EQ(e.value->name, "Price");
        ++index;
    }
    // Font 9*17 sends an empty field 4; a hidden element sends 0x80 but keeps its place.
    auto hidden =
        RecordDecoder::labelElement(bodyOf(record({byte(0x80), "1", "2", "", "", "", "N"})), 3);
    ASSERT_TRUE(hidden) << hidden.error;
    EXPECT_FALSE(hidden.value->shown);
    EXPECT_EQ(hidden.value->font, "9*17");
    EXPECT_EQ(hidden.value->index, 3);

    // Wrong number for the position, unknown codes, wrong field count.
    EXPECT_FALSE(
        RecordDecoder::labelElement(bodyOf(record({byte(0x82), "1", "2", "", "", "", "N"})), 0));
    EXPECT_FALSE(RecordDecoder::labelElement(
        bodyOf(record({byte(0x81), "1", "2", byte(0x19), "", "", "N"})), 0));
    EXPECT_FALSE(RecordDecoder::labelElement(
        bodyOf(record({byte(0x81), "1", "2", "", byte(0x84), "", "N"})), 0));
    EXPECT_FALSE(RecordDecoder::labelElement(
        bodyOf(record({byte(0x81), "1", "2", "", "", byte(0x12), "N"})), 0));
    EXPECT_FALSE(
        RecordDecoder::labelElement(bodyOf(record({byte(0x81), "1", "2", "", "", ""})), 0));
}

TEST(RecordDecoder, BarcodeIsTheTenthElement) {
    auto bar = RecordDecoder::labelElement(
        bodyOf(record({byte(0x8A), "5", "20", "8", "2", byte(0x83), "Code"})), 9);
    ASSERT_TRUE(bar) << bar.error;
    EXPECT_TRUE(bar.value->barcode);
    EXPECT_EQ(bar.value->font, "12*24");
    EXPECT_EQ(bar.value->size, "8");
    EXPECT_EQ(bar.value->direction, "90");

    auto small = RecordDecoder::labelElement(
        bodyOf(record({byte(0x80), "5", "20", "", "2", "", "Code"})), 9);
    ASSERT_TRUE(small) << small.error;
    EXPECT_EQ(small.value->font, "9*17");
    EXPECT_TRUE(small.value->size.empty());

    // The bar code row always carries "2" in field 5; an ordinary layout there is refused.
    EXPECT_FALSE(RecordDecoder::labelElement(
        bodyOf(record({byte(0x8A), "5", "20", byte(0x18), byte(0x80), byte(0x11), "Code"})), 9));
    // Recognised by position: a tenth row named otherwise is still the bar code.
    EXPECT_TRUE(RecordDecoder::labelElement(
        bodyOf(record({byte(0x8A), "5", "20", "", "2", byte(0x80), "Weight"})), 9));
}

TEST(RecordDecoder, DateTimeHasThirteenDigits) {
    // Sunday 1 March 2026 at 00:00:05.
    auto t = RecordDecoder::dateTime("2670301000005");
    ASSERT_TRUE(t) << t.error;
    EXPECT_EQ(t.value->year, 2026);
    EXPECT_EQ(t.value->weekday, 7);
    EXPECT_EQ(t.value->month, 3);
    EXPECT_EQ(t.value->day, 1);
    EXPECT_EQ(t.value->hour, 0);
    EXPECT_EQ(t.value->minute, 0);
    EXPECT_EQ(t.value->second, 5);
    EXPECT_FALSE(RecordDecoder::dateTime("267030100000"));
    EXPECT_FALSE(RecordDecoder::dateTime("26703010000055"));
    EXPECT_FALSE(RecordDecoder::dateTime("26703010000x5"));
    EXPECT_FALSE(RecordDecoder::dateTime("2600301000005")); // weekday 0
    EXPECT_FALSE(RecordDecoder::dateTime("2671301000005")); // month 13
    EXPECT_FALSE(RecordDecoder::dateTime("2670301240005")); // hour 24
}
