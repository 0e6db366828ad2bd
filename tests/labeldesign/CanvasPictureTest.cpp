#include "labeldesign/CanvasPicture.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace korvan;
using Ink = CanvasPicture::Ink;

namespace {

PixelRect bounds(const std::vector<CanvasPicture::Fill>& fills) {
    PixelRect box = fills.front().rect;
    for (const auto& f : fills)
        box = {std::min(box.left, f.rect.left), std::min(box.top, f.rect.top),
               std::max(box.right, f.rect.right), std::max(box.bottom, f.rect.bottom)};
    return box;
}

} // namespace

TEST(CanvasPicture, SampleBarCodeTurnsWithItsElement) {
    // A bar code 5 mm high in the small font at (0, 0) mm: 64 bars over 122 modules, then 13
    // digits 8 pixels apart, starting a digit's pitch before the bars.
    const struct {
        const char* direction;
        PixelRect bars;
        PixelPoint firstDigit, lastDigit;
    } cases[] = {
        {"0", {25, 25, 147, 50}, {17, 50}, {129, 50}},
        {"90", {25, -97, 50, 25}, {50, 33}, {50, -79}},
        {"180", {-97, 0, 25, 25}, {33, 0}, {-79, 0}},
        {"270", {0, 25, 25, 147}, {0, 17}, {0, 129}},
    };
    for (const auto& c : cases) {
        const LabelElement bar({"Code", "", c.direction, "9*17", "5", "0", "0", "TRUE", "0", "0"});
        const CanvasPicture::Picture picture =
            CanvasPicture::barCode(LabelGeometry::measure(bar, true));
        ASSERT_EQ(picture.fills.size(), 64u) << c.direction;
        EXPECT_EQ(bounds(picture.fills), c.bars) << c.direction;
        ASSERT_EQ(picture.texts.size(), 13u);
        EXPECT_EQ(picture.texts.front(), (CanvasPicture::Text{c.firstDigit, "0"})) << c.direction;
        EXPECT_EQ(picture.texts.back(), (CanvasPicture::Text{c.lastDigit, "2"})) << c.direction;
    }
    const LabelElement turned({"Code", "", "45", "9*17", "5", "0", "0", "TRUE", "0", "0"});
    EXPECT_TRUE(CanvasPicture::barCode(LabelGeometry::measure(turned, true)).fills.empty());
}

TEST(CanvasPicture, LabelAreaFollowsTheHeightWithItsBorderOutside) {
    const auto area = CanvasPicture::labelArea(30);
    EXPECT_EQ(area.front(), (CanvasPicture::Fill{{25, 25, 265, 175}, Ink::White}));
    EXPECT_EQ(bounds(area), (PixelRect{25, 25, 266, 176}));
}
