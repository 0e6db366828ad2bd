#include "records/BarcodeScaleFile.h"

#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvan;
using korvan::test::TempDir;
using korvan::test::writeBytes;

TEST(BarcodeScaleFile, LinesByPositionMissingOnesEmptyExtraOnesIgnored) {
    TempDir dir;
    const auto file = dir / "record/tmccs.rec";
    const struct {
        const char* bytes;
        BarcodeScaleSettings expected;
    } cases[] = {
        {"01\r\n2=40*30\r\n2=EAN-13\r\n1=code+total\r\nextra\r\n",
         {"01", "2=40*30", "2=EAN-13", "1=code+total"}},
        {"7\n2\n", {"7", "2", "", ""}},
        {"", {}},
    };
    for (const auto& c : cases) {
        writeBytes(file, c.bytes);
        const auto loaded = BarcodeScaleFile::load(file);
        EXPECT_TRUE(loaded.ok());
        EXPECT_EQ(loaded.value, c.expected) << c.bytes;
    }
    const auto missing = BarcodeScaleFile::load(dir / "record/none.rec");
    EXPECT_TRUE(missing.ok());
    EXPECT_EQ(missing.value, BarcodeScaleSettings{});

    ::chmod(dir.path().c_str(), 0777);
    ::chmod((dir / "record").c_str(), 0777);
    ::chmod(file.c_str(), 0);
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        const auto loaded = BarcodeScaleFile::load(file);
        return !loaded.ok() && loaded.result.path == file && loaded.value == BarcodeScaleSettings{};
    }));
}

TEST(BarcodeScaleSettings, AListShowsTheFirstItemTheStoredLineBegins) {
    using S = BarcodeScaleSettings;
    const struct {
        std::span<const std::string_view> items;
        const char* stored;
        std::optional<std::size_t> item;
    } cases[] = {
        {S::kLabelSizes, "2=40*30", 1},
        {S::kLabelSizes, "2", 1}, // a prefix is enough
        {S::kBarcodeTypes, "2=ean", 2},
        {S::kBarcodeTypes, "4=Code39", 4},
        {S::kBarcodeTypes, "3=EAN-8", 3},
        {S::kBarcodeFormats, "3=CODE+PRICE", 2},
        {S::kBarcodeFormats, "=code", std::nullopt},
        {S::kLabelSizes, "2=40*30 ", std::nullopt}, // longer than the item
        {S::kLabelSizes, "9", std::nullopt},
        {S::kLabelSizes, "", std::nullopt}, // nothing stored: nothing chosen
    };
    for (const auto& c : cases)
        EXPECT_EQ(S::itemFor(c.items, c.stored), c.item) << c.stored;
}
