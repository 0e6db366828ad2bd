// The label files shipped as defaults: each fits the label size its name gives, its printed
// elements do not overlap, and its rows keep their fixed roles.
#include "labeldesign/LabelCheck.h"
#include "labeldesign/LabelFile.h"
#include "labeldesign/LabelGeometry.h"
#include "labeldesign/LabelSizeCode.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {
const std::filesystem::path kLabels = std::filesystem::path(KORVAN_DEFAULTS) / "label";
// Rows whose names the designer keeps: the data items the scale fills in.
const std::size_t kFixedRows[] = {1, 2, 6, 7, 8, 9, 11, 12, 16, 19, 21, 23};

bool overlap(const PixelRect& a, const PixelRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
} // namespace

TEST(ShippedLabels, EverySizeInBothLanguagesFitsAndKeepsItsRoles) {
    std::size_t files = 0;
    for (const char* code : {"1", "2", "3"}) {
        std::vector<Label> variants;
        for (const char* language : {"chn", "eng"}) {
            const std::string name = std::string(code) + language + ".bel";
            const auto loaded = LabelFile::load(kLabels / name);
            ASSERT_TRUE(loaded.ok()) << name << ": " << loaded.result.message();
            const Label& label = loaded.value;
            ++files;
            EXPECT_EQ(LabelCheck::downloadProblem(label, Lang::English), "") << name;
            const auto size = LabelSizeCode::size(name);
            ASSERT_TRUE(size) << name;
            EXPECT_EQ(label.width, std::to_string(size->width)) << name;
            EXPECT_EQ(label.height, std::to_string(size->height)) << name;
            ASSERT_GE(label.elements.size(), 24u) << name;
            const std::string& bars = label.elements[Label::kBarCodeRow].name();
            EXPECT_TRUE(bars == "Code" || bars == "\xCC\xF5\xC2\xEB") << name; // 条码
            for (std::size_t row : kFixedRows)
                EXPECT_FALSE(label.elements[row].name().empty()) << name << row;

            LabelGeometry geometry;
            geometry.rebuild(label.elements);
            const int right = LabelGeometry::pixelFromMm(std::min(size->width, 48));
            const int bottom = LabelGeometry::pixelFromMm(size->height);
            std::vector<std::pair<std::size_t, PixelRect>> printed;
            for (std::size_t i = 0; i < label.elements.size(); ++i) {
                if (!label.elements[i].printed())
                    continue;
                const PixelRect r = geometry.entry(i).rect;
                EXPECT_TRUE(r.left >= LabelGeometry::kMargin && r.top >= LabelGeometry::kMargin &&
                            r.right <= right && r.bottom <= bottom)
                    << name << " row " << i << " lies outside the label";
                for (const auto& [j, other] : printed)
                    EXPECT_FALSE(overlap(r, other)) << name << " rows " << j << " and " << i;
                printed.emplace_back(i, r);
            }
            variants.push_back(label);
        }
        // The two languages describe the same layout: only the texts differ.
        ASSERT_EQ(variants[0].elements.size(), variants[1].elements.size()) << code;
        for (std::size_t i = 0; i < variants[0].elements.size(); ++i)
            for (auto column : {LabelElement::Direction, LabelElement::XPos, LabelElement::YPos,
                                LabelElement::State})
                EXPECT_EQ(variants[0].elements[i].at(column), variants[1].elements[i].at(column))
                    << code << " row " << i;
    }
    EXPECT_EQ(files, 6u);
}
