#include "labeldesign/LabelGeometry.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {

// name, direction, font, size, X.pos, Y.pos (State "TRUE").
LabelElement element(std::string name, std::string direction, std::string font, std::string size,
                     std::string x, std::string y, std::string state = "TRUE") {
    return LabelElement({name, "", direction, font, size, x, y, state, x, y});
}

const std::string kChineseName = "\xB5\xEA\xBA\xC5"; // two GB2312 characters

} // namespace

TEST(LabelGeometry, TextRectanglesForEveryDirection) {
    // "ABC" at (2, 3) mm: anchor pixel (35, 40); 3 cells of 7 plus 3 pixels of spacing = 24 long.
    const struct {
        LabelElement element;
        PixelRect rect;
        PixelPoint anchor;
    } cases[] = {
        {element("ABC", "0", "12*24", "12*24", "2", "3"), {35, 40, 59, 55}, {35, 40}},
        {element("ABC", "90", "12*24", "12*24", "2", "3"), {35, 16, 50, 40}, {35, 40}},
        {element("ABC", "180", "12*24", "12*24", "2", "3"), {11, 25, 35, 40}, {35, 40}},
        {element("ABC", "270", "12*24", "12*24", "2", "3"), {20, 40, 35, 64}, {35, 40}},
        // Sizes of the big font; a size the big font does not know keeps 7 x 15.
        {element("AB", "0", "12*24", "12*48", "0", "0"), {25, 25, 41, 55}, {25, 25}},
        {element("AB", "0", "12*24", "24*24", "0", "0"), {25, 25, 55, 40}, {25, 25}},
        {element("AB", "0", "12*24", "24*48", "0", "0"), {25, 25, 55, 55}, {25, 25}},
        {element("AB", "0", "12*24", "99", "0", "0"), {25, 25, 41, 40}, {25, 25}},
        // Any other font is 5 x 12 whatever the size says.
        {element("AB", "0", "9*17", "24*48", "0", "0"), {25, 25, 37, 37}, {25, 25}},
        // Two Chinese characters: 4 bytes of cell width 7 plus 2 pixels.
        {element(kChineseName, "0", "12*24", "12*24", "0", "0"), {25, 25, 55, 40}, {25, 25}},
        // Non-numeric positions count as 0, leading digits count.
        {element("A", "0", "12*24", "12*24", "x", "4mm"), {25, 45, 33, 60}, {25, 45}},
        {element("A", "90deg", "12*24", "12*24", "-1", "0"), {20, 17, 35, 25}, {20, 25}},
    };
    for (const auto& c : cases) {
        const ElementGeometry g = LabelGeometry::measure(c.element, false);
        EXPECT_EQ(g.rect, c.rect) << c.element.name() << " "
                                  << c.element.at(LabelElement::Direction) << " "
                                  << c.element.at(LabelElement::Size);
        EXPECT_EQ((PixelPoint{g.anchorX, g.anchorY}), c.anchor);
        EXPECT_EQ(LabelGeometry::anchorCorner(g.rect, g.direction), c.anchor) << c.element.name();
    }
}

TEST(LabelGeometry, BarCodeRectanglesForEveryDirection) {
    // Bars 125 pixels long; thickness bar height x 5 plus one line of digits.
    const struct {
        LabelElement element;
        PixelRect rect;
    } cases[] = {
        {element("Code", "0", "9*17", "5", "0", "0"), {25, 25, 150, 62}},
        {element("Code", "90", "9*17", "5", "0", "0"), {25, -100, 62, 25}},
        {element("Code", "180", "9*17", "5", "0", "0"), {-100, -12, 25, 25}},
        {element("Code", "270", "9*17", "5", "0", "0"), {-12, 25, 25, 150}},
        // The big font gives the digits 15 pixels; the size is the bar height, never a cell size.
        {element("\xCC\xF5\xC2\xEB", "0", "12*24", "10", "1", "1"), {30, 30, 155, 95}},
        {element("Code", "0", "12*24", "24*48", "0", "0"), {25, 25, 150, 160}},
    };
    for (const auto& c : cases) {
        const ElementGeometry g = LabelGeometry::measure(c.element, true);
        EXPECT_EQ(g.rect, c.rect) << c.element.at(LabelElement::Direction) << " "
                                  << c.element.at(LabelElement::Size);
        EXPECT_EQ(LabelGeometry::anchorCorner(g.rect, g.direction),
                  (PixelPoint{g.anchorX, g.anchorY}));
    }
    const ElementGeometry code =
        LabelGeometry::measure(element("Code", "0", "9*17", "5", "0", "0"), true);
    EXPECT_EQ(code.barHeight, 5);
    EXPECT_EQ(code.cellWidth, 5);
    EXPECT_EQ(code.cellHeight, 12);
}

TEST(LabelGeometry, TheBarCodeIsTheElementOfItsRowWhateverItIsCalled) {
    // As the scale prints it: row 9 is bars, a text called "Code" elsewhere is a text.
    std::vector<LabelElement> rows(10, element("A", "0", "12*24", "12*24", "0", "0"));
    rows[2] = element("Code", "0", "12*24", "5", "0", "0");
    rows[9] = element("Bars", "0", "12*24", "5", "0", "0");
    LabelGeometry geometry;
    geometry.rebuild(rows);
    EXPECT_FALSE(geometry.entry(2).barCode);
    EXPECT_EQ(geometry.entry(2).rect, (PixelRect{25, 25, 57, 40}));
    EXPECT_TRUE(geometry.entry(9).barCode);
    EXPECT_EQ(geometry.entry(9).rect, (PixelRect{25, 25, 150, 65}));
}

TEST(LabelGeometry, UnknownDirectionGivesNoRectangleAndCannotBeHit) {
    std::vector<LabelElement> rows = {element("ABC", "0", "12*24", "12*24", "2", "3")};
    LabelGeometry geometry;
    geometry.rebuild(rows);
    ASSERT_EQ(geometry.hit(rows, {36, 41}), 0u);

    // Turning the element to a direction the scale does not know must not leave the old rectangle
    // behind to be drawn or picked.
    rows[0].at(LabelElement::Direction) = "45";
    geometry.rebuild(rows);
    EXPECT_EQ(geometry.entry(0).rect, PixelRect{});
    EXPECT_EQ(geometry.entry(0).direction, 45);
    EXPECT_FALSE(LabelGeometry::anchorCorner(geometry.entry(0).rect, 45));
    EXPECT_FALSE(geometry.hit(rows, {36, 41}));
    EXPECT_FALSE(geometry.hit(rows, {0, 0}));
}

TEST(LabelGeometry, RebuildCoversFiftyEntriesAndMissingRowsAreEmpty) {
    std::vector<LabelElement> rows(60, element("A", "0", "12*24", "12*24", "1", "1"));
    rows[2] = element("B", "0", "12*24", "12*24", "4", "7");
    LabelGeometry geometry;
    geometry.rebuild(rows);
    EXPECT_EQ(geometry.entry(2).name, "B");
    EXPECT_EQ((PixelRect{45, 60, 53, 75}), geometry.entry(2).rect);
    EXPECT_EQ(geometry.entry(49).downX, 1);
    EXPECT_THROW((void)geometry.entry(50), std::out_of_range);

    geometry.rebuild({rows[2]});
    EXPECT_EQ(geometry.entry(1).name, "");
    EXPECT_EQ(geometry.entry(1).rect.left, geometry.entry(1).rect.right);
    // Row 55 lies under the same pixels as row 0 but only rows 0 to 49 can be picked.
    geometry.rebuild(rows);
    EXPECT_EQ(geometry.hit(rows, {31, 31}), 49u);
}

TEST(LabelGeometry, HitTestLaterPrintedRowWinsAndHiddenRowsAreNeverPicked) {
    std::vector<LabelElement> rows = {
        element("AAAA", "0", "12*24", "12*24", "0", "0"),        // 25..57 x 25..40
        element("BB", "0", "12*24", "12*24", "2", "1"),          // 35..51 x 30..45
        element("CC", "0", "12*24", "12*24", "2", "1", "FALSE"), // hidden, same place
        element("DD", "0", "12*24", "12*24", "2", "1", "TRUE "), // ticked but not printed
    };
    LabelGeometry geometry;
    geometry.rebuild(rows);
    const struct {
        PixelPoint point;
        std::optional<std::size_t> row;
    } cases[] = {
        {{26, 26}, 0u},           {{40, 35}, 1u}, // overlap: the later row
        {{57, 30}, std::nullopt},                 // right edge is outside
        {{35, 30}, 1u},           {{51, 44}, std::nullopt},
        {{50, 44}, 1u},           {{24, 30}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(geometry.hit(rows, c.point), c.row) << c.point.x << "," << c.point.y;
    EXPECT_TRUE(rows[3].ticked());
    EXPECT_FALSE(rows[3].printed());
}

TEST(LabelGeometry, NamesSplitIntoTheCharactersTheCanvasDraws) {
    using V = std::vector<std::string>;
    EXPECT_EQ(LabelGeometry::characters("AB"), (V{"A", "B"}));
    // Two GB2312 characters, then a lone lead byte at the end that stands alone.
    EXPECT_EQ(LabelGeometry::characters("\xC6\xBB\xB9\xFB"
                                        "1\xC6"),
              (V{"\xC6\xBB", "\xB9\xFB", "1", "\xC6"}));
    EXPECT_EQ(LabelGeometry::characters("\x80"
                                        "A"),
              (V{"\x80", "A"})); // 0x80 is not a lead byte
    EXPECT_TRUE(LabelGeometry::characters("").empty());
}

TEST(LabelGeometry, MillimetresAndPixels) {
    const struct {
        int pixel, mm;
    } cases[] = {{25, 0},  {29, 0}, {30, 1},  {34, 1}, {24, -1},
                 {20, -1}, {4, -5}, {-4, -5}, {-5, -6}};
    for (const auto& c : cases)
        EXPECT_EQ(LabelGeometry::mmFromPixel(c.pixel), c.mm) << c.pixel;
    EXPECT_EQ(LabelGeometry::pixelFromMm(0), 25);
    EXPECT_EQ(LabelGeometry::pixelFromMm(-3), 10);
    // Numbers far outside any label are held so the pixel arithmetic cannot overflow.
    const ElementGeometry far = LabelGeometry::measure(
        element("A", "0", "12*24", "12*24", "99999999999", "-99999999999"), false);
    EXPECT_GT(far.anchorX, 0);
    EXPECT_LT(far.anchorY, 0);
    EXPECT_GT(far.rect.right, far.rect.left);
}
