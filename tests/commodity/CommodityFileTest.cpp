#include "commodity/CommodityFile.h"
#include "common/Language.h"
#include "common/TextCodec.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

namespace {

std::string gbk(const char* utf8) {
    return TextCodec::toGbk(utf8).value();
}

// Loads the bytes as sp.rec and saves the records again; returns what was written.
std::string roundTrip(const std::string& bytes, std::vector<CommodityRecord>* loaded = nullptr) {
    TempDir dir;
    writeBytes(dir / "record/sp.rec", bytes);
    auto read = CommodityFile::load(dir / "record/sp.rec");
    EXPECT_TRUE(read.ok());
    auto& records = read.value;
    EXPECT_TRUE(CommodityFile::save(dir / "record/out.rec", records).ok());
    if (loaded)
        *loaded = records;
    return readBytes(dir / "record/out.rec");
}

// Every word of one choice value: shown in each language (English for an unknown flag), stored as
// the English word, the list cell's bytes the shown word in code page 936, and each word reads back
// as the value.
template <class E>
void expectWords(E value, const char* zh, const char* en, E (*read)(std::string_view)) {
    SCOPED_TRACE(en);
    EXPECT_EQ(ChoiceWords::displayText(value, Lang::Chinese), zh);
    EXPECT_EQ(ChoiceWords::displayText(value, Lang::English), en);
    EXPECT_EQ(ChoiceWords::displayText(value, Lang::Unknown), en);
    EXPECT_EQ(ChoiceWords::fileWord(value), en);
    EXPECT_EQ(ChoiceWords::displayBytes(value, Lang::Chinese), gbk(zh));
    EXPECT_EQ(ChoiceWords::displayBytes(value, Lang::English), en);
    EXPECT_EQ(read(gbk(zh)), value);
    EXPECT_EQ(read(en), value);
}

struct LanguageFlag {
    explicit LanguageFlag(const char* flag) : saved(Language::flag()) { Language::setFlag(flag); }
    ~LanguageFlag() { Language::setFlag(saved); }
    std::string saved;
};

} // namespace

TEST(CommodityFile, UnchangedRecordsComeBackByteForByte) {
    // Text fields keep bytes that are not valid GBK, and a tenth field keeps its form feeds.
    const std::string bytes = "\xC6\xBB\xB9\xFB\fA-01\f5.00\fYes\fweight\f0\f7\fNo\f0\f3\r\n"
                              "\x80\xFF\x81\f\xFE\f1\fNo\fquantity\f25\f12\fYes\f10\f4\f\fx\r\n";
    std::vector<CommodityRecord> records;
    for (const char* flag : {"chinese", "english", "klingon"}) {
        LanguageFlag lang(flag);
        EXPECT_EQ(roundTrip(bytes, &records), bytes) << flag;
    }
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].name, "\xC6\xBB\xB9\xFB");
    EXPECT_EQ(records[0].priceChange, PriceChange::Yes);
    EXPECT_EQ(records[0].salesMode, SalesMode::Weight);
    EXPECT_EQ(records[0].discount, Discount::No);
    EXPECT_EQ(records[1].name, "\x80\xFF\x81");
    EXPECT_EQ(records[1].descriptionNumber, "4\f\fx");
    EXPECT_EQ(records[1].discount, Discount::Yes);
}

TEST(CommodityFile, ChoiceWordsOfBothLanguagesReadTheSameAndAreStoredInEnglish) {
    const std::string zh = "a\fb\fc\f" + gbk("可变价") + "\f" + gbk("称重") + "\f0\f0\f" +
                           gbk("可打折") + "\f0\f0\r\n" + "a\fb\fc\f" + gbk("不变价") + "\f" +
                           gbk("数量") + "\f0\f0\f" + gbk("不打折") + "\f0\f0\r\n";
    std::vector<CommodityRecord> records;
    EXPECT_EQ(roundTrip(zh, &records), "a\fb\fc\fYes\fweight\f0\f0\fYes\f0\f0\r\n"
                                       "a\fb\fc\fNo\fquantity\f0\f0\fNo\f0\f0\r\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].discount, Discount::Yes);
    EXPECT_EQ(records[1].priceChange, PriceChange::No);

    // Other words, wrong case, blanks and the Chinese words in UTF-8 read as the second value.
    const std::string odd = std::string("a\fb\fc\fyes\f") + "称重" + "\f0\f0\f Yes\f0\f0\r\n";
    EXPECT_EQ(roundTrip(odd), "a\fb\fc\fNo\fquantity\f0\f0\fNo\f0\f0\r\n");
}

TEST(CommodityFile, EmptyAndShortLinesBecomeWholeRecords) {
    EXPECT_EQ(roundTrip("\r\n"), "\f\f\fNo\fquantity\f\f\fNo\f\f\r\n");
    EXPECT_EQ(roundTrip("Pear\f9\r\n"), "Pear\f9\f\fNo\fquantity\f\f\fNo\f\f\r\n");
    // A bare LF ends a line as well; the file is written back with CR LF.
    EXPECT_EQ(roundTrip("a\fb\fc\fYes\fweight\f1\f2\fYes\f3\f4\n"),
              "a\fb\fc\fYes\fweight\f1\f2\fYes\f3\f4\r\n");
}

TEST(CommodityFile, EmptyListGivesAFileOfLengthZeroAndBack) {
    TempDir dir;
    writeBytes(dir / "record/sp.rec", "old\r\n");
    ASSERT_TRUE(CommodityFile::save(dir / "record/sp.rec", {}).ok());
    EXPECT_TRUE(std::filesystem::exists(dir / "record/sp.rec"));
    EXPECT_EQ(std::filesystem::file_size(dir / "record/sp.rec"), 0u);
    auto read = CommodityFile::load(dir / "record/sp.rec");
    EXPECT_TRUE(read.value.empty());
    EXPECT_TRUE(read.ok());
    // A missing file reads as an empty list too.
    read = CommodityFile::load(dir / "record/none.rec");
    EXPECT_TRUE(read.value.empty());
    EXPECT_TRUE(read.ok());
}

TEST(CommodityFile, LoadsEveryLineBeyondTwoThousand) {
    std::string bytes;
    for (int i = 0; i < 2105; ++i)
        bytes += "n" + std::to_string(i) + "\fc\f1\fYes\fweight\f0\f0\fNo\f0\f0\r\n";
    std::vector<CommodityRecord> records;
    EXPECT_EQ(roundTrip(bytes, &records), bytes);
    ASSERT_EQ(records.size(), 2105u);
    EXPECT_EQ(records.back().name, "n2104");
}

TEST(CommodityRecord, DownloadRowKeepsTheBytesAndTakesTheChoicesAsValues) {
    CommodityRecord r = CommodityRecord::newRecord();
    r.name = gbk("苹果") + "\xFF";
    r.code = "1001";
    r.unitPrice = "5.00";
    r.shelfLife = "7";
    r.descriptionNumber = "3\f";
    // The row does not depend on the language the screen shows.
    LanguageFlag lang("chinese");
    EXPECT_EQ(r.downloadRow(), (CommodityRow{gbk("苹果") + "\xFF", "1001", "5.00", true, true, "0",
                                             "7", false, "0", "3\f"}));
    r.priceChange = PriceChange::No;
    r.salesMode = SalesMode::Quantity;
    r.discount = Discount::Yes;
    const CommodityRow row = r.downloadRow();
    EXPECT_FALSE(row.priceChangeable);
    EXPECT_FALSE(row.byWeight);
    EXPECT_TRUE(row.discountable);
}

TEST(ChoiceWords, OneTableReadsWritesAndShowsEveryValue) {
    expectWords(PriceChange::Yes, "可变价", "Yes", &ChoiceWords::readPriceChange);
    expectWords(PriceChange::No, "不变价", "No", &ChoiceWords::readPriceChange);
    expectWords(SalesMode::Weight, "称重", "weight", &ChoiceWords::readSalesMode);
    expectWords(SalesMode::Quantity, "数量", "quantity", &ChoiceWords::readSalesMode);
    expectWords(Discount::Yes, "可打折", "Yes", &ChoiceWords::readDiscount);
    expectWords(Discount::No, "不打折", "No", &ChoiceWords::readDiscount);
}

TEST(ChoiceWords, RecordCellsAndDropDownOrderFollowTheLanguage) {
    CommodityRecord r = CommodityRecord::newRecord();
    r.name = gbk("苹果") + "\xFF"; // shown with a replacement character, kept as bytes
    EXPECT_EQ(r.displayText(CommodityField::Name, Lang::English), "苹果\xEF\xBF\xBD");
    EXPECT_EQ(r.displayText(CommodityField::PriceChange, Lang::Chinese), "可变价");
    EXPECT_EQ(r.listCell(CommodityField::SalesMode, Lang::Chinese), gbk("称重"));
    EXPECT_EQ(r.listCell(CommodityField::Name, Lang::Chinese), r.name);

    // Sorted drop-down order: by the words' bytes in code page 936.
    using PC = std::array<PriceChange, 2>;
    using SM = std::array<SalesMode, 2>;
    EXPECT_EQ(ChoiceWords::priceChangeItems(Lang::English),
              (PC{PriceChange::No, PriceChange::Yes}));
    EXPECT_EQ(ChoiceWords::priceChangeItems(Lang::Chinese),
              (PC{PriceChange::No, PriceChange::Yes}));
    EXPECT_EQ(ChoiceWords::salesModeItems(Lang::English),
              (SM{SalesMode::Quantity, SalesMode::Weight}));
    EXPECT_EQ(ChoiceWords::salesModeItems(Lang::Chinese),
              (SM{SalesMode::Weight, SalesMode::Quantity}));
}

TEST(CommodityRecord, ByteLimitsCountChineseCharactersTwice) {
    EXPECT_TRUE(CommodityRecord::fitsInput(CommodityField::Name, "苹果苹果苹果苹果"));    // 16
    EXPECT_FALSE(CommodityRecord::fitsInput(CommodityField::Name, "苹果苹果苹果苹果梨")); // 18
    EXPECT_FALSE(CommodityRecord::fitsInput(CommodityField::Name, "苹果苹果苹果苹果x"));  // 17
    EXPECT_TRUE(CommodityRecord::fitsInput(CommodityField::UnitPrice, "123.45"));
    EXPECT_FALSE(CommodityRecord::fitsInput(CommodityField::UnitPrice, "1234.56"));
    EXPECT_TRUE(CommodityRecord::fitsInput(CommodityField::DescriptionNumber, "天"));
    EXPECT_FALSE(CommodityRecord::fitsInput(CommodityField::DescriptionNumber, "天1"));
    EXPECT_FALSE(CommodityRecord::fitsInput(CommodityField::ShelfLife, "天天1"));
    // Text code page 936 cannot hold is refused rather than lost on save.
    EXPECT_FALSE(CommodityRecord::fitsInput(CommodityField::Code, "\xF0\x9F\x8D\x8E"));
    EXPECT_FALSE(CommodityRecord::fitsInput(CommodityField::Discount, "Yes"));
    EXPECT_EQ(CommodityRecord::maxBytes(CommodityField::Tare), 5u);
    EXPECT_EQ(CommodityRecord::maxBytes(CommodityField::DiscountRate), 2u);
}
