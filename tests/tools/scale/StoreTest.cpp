#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "korvan-scale/ReadableText.h"
#include "korvan-scale/SalesRecords.h"
#include "korvan-scale/ScaleStore.h"
#include "common/Number.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"
#include "tools/scale/Records.h"

using namespace korvan;
using namespace korvan::sim;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

TEST(ReadableText, ShowsGbkAsUtf8AndEscapesTheRest) {
    EXPECT_EQ(ReadableText::fromGbk(korvan::test::kApple + " 5.00"), "苹果 5.00");
    EXPECT_EQ(ReadableText::fromGbk("a\tb\r\nc\x0C\\d\x01"), "a\\tb\\r\\nc\\f\\\\d\\x01");
    // A name cut inside a two-byte character: the lone lead byte is escaped, the rest shown.
    EXPECT_EQ(ReadableText::fromGbk("ab" + korvan::test::kApple.substr(0, 3)), "ab苹\\xB9");
    EXPECT_EQ(ReadableText::fromGbk("\xFF"
                                    "x"),
              "\\xFFx");
    EXPECT_EQ(ReadableText::hex("\xAA\x0D"), "AA 0D");
    EXPECT_EQ(ReadableText::hex(""), "");
}

TEST(ReadableText, GivesBackTheExactBytes) {
    // Every byte value, alone and in pairs, survives the round trip.
    std::string all;
    for (int i = 1; i < 256; ++i) {
        all += static_cast<char>(i);
        all += static_cast<char>(255 - i + 1);
    }
    const std::string samples[] = {"",  "plain",          korvan::test::kApple,
                                   all, "\x81\x5C\\\x81", std::string("\0x", 2)};
    for (const auto& bytes : samples) {
        auto back = ReadableText::toGbk(ReadableText::fromGbk(bytes));
        ASSERT_TRUE(back) << ReadableText::hex(bytes);
        EXPECT_EQ(*back, bytes) << ReadableText::hex(bytes);
    }
    EXPECT_FALSE(ReadableText::toGbk("bad \\q escape"));
    EXPECT_FALSE(ReadableText::toGbk("short \\x4"));
    EXPECT_FALSE(ReadableText::toGbk("trailing \\"));
    EXPECT_FALSE(ReadableText::toGbk("\xF0\x9F\x98\x80")); // an emoji has no GBK form
}

TEST(SalesRecords, ReadsTheSalesRecordFileLayout) {
    TempDir dir;
    const std::string kFF = "\x0C";
    writeBytes(dir / "dzcjl.rec", "2026-03-01 08:00:01" + kFF + korvan::test::kApple + kFF +
                                      "0.500" + kFF + "5.80" + kFF + "2.90\r\n\r\n" + "t2" + kFF +
                                      "n" + kFF + "w" + kFF + "p" + kFF + "1" + kFF +
                                      "extra\nshort" + kFF + "x");
    auto read = SalesRecords::fromRecordFile(dir / "dzcjl.rec");
    ASSERT_TRUE(read.ok());
    auto& records = read.value;
    ASSERT_EQ(records.size(), 3u); // the empty line holds no sale
    EXPECT_EQ(records[0][1], korvan::test::kApple);
    EXPECT_EQ(records[0][4], "2.90");
    EXPECT_EQ(records[1][4], "1" + kFF + "extra"); // the last field runs to the line end
    EXPECT_EQ(records[2][0], "short");
    EXPECT_EQ(records[2][1], "x");
    EXPECT_EQ(records[2][4], "");
    EXPECT_EQ(SalesRecords::wireLine(records[0]), "2026-03-01 08:00:01" + kFF +
                                                      korvan::test::kApple + kFF + "0.500" + kFF +
                                                      "5.80" + kFF + "2.90\r\n");
}

TEST(SalesRecords, GeneratedRecordsArePlausible) {
    const auto records = SalesRecords::generate(200);
    ASSERT_EQ(records.size(), 200u);
    EXPECT_EQ(records, SalesRecords::generate(200)); // same seed, same records
    EXPECT_NE(records, SalesRecords::generate(200, 7));
    bool chinese = false;
    bool weighed = false;
    bool counted = false;
    std::string previousTime;
    for (const auto& r : records) {
        EXPECT_EQ(r[0].size(), 19u) << r[0];
        EXPECT_GT(r[0], previousTime); // times rise
        previousTime = r[0];
        chinese = chinese || static_cast<unsigned char>(r[1][0]) >= 0x80;
        // The total is weight (or count) times price, to the cent.
        const long totalCents = std::lround(Number::parseDecimal(r[4]) * 100);
        const double exact = Number::parseDecimal(r[2]) * Number::parseDecimal(r[3]);
        EXPECT_LE(std::abs(totalCents - exact * 100), 0.5 + 1e-6) << r[2] << " x " << r[3];
        (r[2].find('.') != std::string::npos ? weighed : counted) = true;
        // One line fits the PC's 100-byte receive buffer.
        EXPECT_LT(SalesRecords::wireLine(r).size(), 100u);
    }
    EXPECT_TRUE(chinese);
    EXPECT_TRUE(weighed);
    EXPECT_TRUE(counted);
    EXPECT_TRUE(SalesRecords::generate(0).empty());
}

class StoreFiles : public ::testing::Test {
protected:
    TempDir dir;
    ScaleStore store{dir / "store"};

    void SetUp() override { ASSERT_TRUE(store.prepare().ok()); }
    std::string file(const char* name) const { return readBytes(store.file(name)); }
};

TEST_F(StoreFiles, CommoditiesInBothFormats) {
    CommodityRecord apple{
        korvan::test::kApple, "1001", "5.00", "Yes", "weight", "0", "7", "No", "0", "3"};
    CommodityRecord tabbed{"a\tb", "", "1", "No", "quantity", "", "", "Yes", "", ""};
    ASSERT_TRUE(store.saveCommodities({apple, tabbed}, true).ok());
    EXPECT_EQ(file(ScaleStore::kCommodities),
              "# commodities, full format (command 0x13), 2 records\n"
              "# plu\tname\tcode\tprice\tprice-change\tsales-mode\ttare\tshelf-life\tdiscount\t"
              "discount-rate\tdescription\n"
              "1\t苹果\t1001\t5.00\tYes\tweight\t0\t7\tNo\t0\t3\n"
              "2\ta\\tb\t\t1\tNo\tquantity\t\t\tYes\t\t\n");
    ASSERT_TRUE(store.saveCommodities({apple}, false).ok());
    EXPECT_EQ(file(ScaleStore::kCommodities),
              "# commodities, short format (command 0x03), 1 record\n# plu\tname\tprice\n"
              "1\t苹果\t5.00\n");
    ASSERT_TRUE(store.saveCommodities({}, false).ok());
    EXPECT_EQ(file(ScaleStore::kCommodities),
              "# commodities, short format (command 0x03), 0 records\n# plu\tname\tprice\n");
}

TEST_F(StoreFiles, LabelTextsAndClock) {
    LabelElement text{0, 0x81, true, false, "1", "2", "12*24", "90", "24*48", "Price"};
    LabelElement bar{9, 0x80, false, true, "5", "20", "9*17", "0", "", "Code"};
    ASSERT_TRUE(store.saveLabel({"1", "40", "30"}, {text, bar}).ok());
    EXPECT_EQ(file(ScaleStore::kLabel),
              "# label (command 0x06): header and 2 elements\n"
              "shop-number\t1\nwidth\t40\nheight\t30\n"
              "# element\tnumber\tstate\tkind\tx\ty\tfont\tdirection\tsize\tname\n"
              "0\t0x81\tshown\ttext\t1\t2\t12*24\t90\t24*48\tPrice\n"
              "9\t0x80\thidden\tbarcode\t5\t20\t9*17\t0\t\tCode\n");

    ASSERT_TRUE(store.saveDescriptions({"fresh", korvan::test::kBanana}).ok());
    EXPECT_EQ(file(ScaleStore::kDescriptions),
              "# descriptions (command 0x15), 2 records\n# entry\ttext\n1\tfresh\n2\t香蕉\n");

    ASSERT_TRUE(store.saveStoreText(ScaleJob::StoreName, "Shop\r\nMain St").ok());
    ASSERT_TRUE(store.saveStoreText(ScaleJob::ShopPhone, "0123").ok());
    ASSERT_TRUE(store.saveStoreText(ScaleJob::StoreAddress, korvan::test::kApple).ok());
    EXPECT_EQ(file(ScaleStore::kStoreName), "Shop\\r\\nMain St\n");
    EXPECT_EQ(file(ScaleStore::kShopPhone), "0123\n");
    EXPECT_EQ(file(ScaleStore::kStoreAddress), "苹果\n");

    auto clock = RecordDecoder::dateTime("2670301000005");
    ASSERT_TRUE(clock);
    ASSERT_TRUE(store.saveDateTime(*clock.value).ok());
    EXPECT_EQ(file(ScaleStore::kClock),
              "sent\t2670301000005\ntime\t2026-03-01 00:00:05\nweekday\t7 Sunday\n");
}

TEST_F(StoreFiles, SalesSurviveARestartAndAFailedWriteKeepsThem) {
    const std::vector<SalesRecord> records = {
        {"2026-03-01 08:00:01", korvan::test::kApple, "0.500", "5.80", "2.90"},
        {"t\tab", "\xC6", "", "", "x\r"}};
    ASSERT_TRUE(store.replaceSales(records).ok());
    EXPECT_EQ(*store.sales(), records);

    ScaleStore again(store.folder());
    const IoResult loaded = again.loadSales();
    ASSERT_TRUE(loaded) << loaded.why();
    EXPECT_EQ(*again.sales(), records);

    // A missing file serves nothing; a damaged one is reported.
    ScaleStore empty(dir / "other");
    ASSERT_TRUE(empty.loadSales());
    EXPECT_TRUE(empty.sales()->empty());
    writeBytes(store.file(ScaleStore::kSales), "# header\na\tb\tc\n");
    const std::string error = again.loadSales().why();
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_EQ(*again.sales(), records);

    // As an unprivileged user in a read-only folder the write fails and nothing changes.
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    std::filesystem::permissions(store.folder(), std::filesystem::perms(0555));
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        const auto result = store.replaceSales({});
        return !result.ok() && *store.sales() == records;
    }));
}
