#include "labeldesign/LabelDesign.h"

#include <gtest/gtest.h>

#include "labeldesign/LabelFile.h"
#include "support/TempDir.h"

using namespace korvan;

namespace {

// Twelve rows: row 3 a big-font text, row 5 a small-font text, row 9 the bar code, row 10 hidden.
Label sampleLabel() {
    Label label;
    label.shopNumber = "01";
    for (int i = 0; i < 12; ++i) {
        const std::string pos = std::to_string(i);
        label.elements.push_back(
            LabelElement({"T" + pos, "", "0", "12*24", "12*24", pos, pos, "TRUE", pos, pos}));
    }
    label.elements[5].at(LabelElement::Font) = "9*17";
    label.elements[9] = LabelElement({"Code", "", "0", "12*24", "5", "2", "20", "TRUE", "2", "20"});
    label.elements[10].setTicked(false);
    return label;
}

} // namespace

TEST(LabelDesign, PanelFollowsTheRowRole) {
    LabelDesign design(sampleLabel());
    EXPECT_EQ(design.panel(), ElementPanel{}); // nothing selected: all empty and disabled

    ElementPanel text = design.select(3);
    EXPECT_EQ(text.name, "T3");
    EXPECT_EQ(text.font, "12*24");
    EXPECT_EQ(text.fontSize, "12*24");
    EXPECT_EQ(text.codeHeight, "");
    EXPECT_EQ(text.xPos, "3");
    EXPECT_TRUE(text.nameEnabled && text.directionEnabled && text.fontSizeEnabled &&
                text.positionEnabled);
    EXPECT_FALSE(text.codeHeightEnabled);

    EXPECT_FALSE(design.select(5).fontSizeEnabled) << "the small font has one size";
    EXPECT_FALSE(design.select(2).nameEnabled) << "row 2's text comes from the scale";

    ElementPanel code = design.select(9);
    EXPECT_EQ(code.digitalFont, "12*24");
    EXPECT_EQ(code.codeHeight, "5");
    EXPECT_EQ(code.font, "");
    EXPECT_EQ(code.fontSize, "");
    EXPECT_FALSE(code.nameEnabled || code.fontSizeEnabled);
    EXPECT_TRUE(code.directionEnabled && code.codeHeightEnabled && code.positionEnabled);
    // Bars 125 long, 5 mm + one digit line (15 px) thick, from (2, 20) mm.
    EXPECT_EQ(design.rectMm(), (PixelRect{2, 20, 27, 28}));

    // Rows the canvas cannot draw are not selectable.
    EXPECT_FALSE(design.select(12).positionEnabled);
    EXPECT_FALSE(design.selected());
    EXPECT_FALSE(design.modified()) << "looking is no change";
}

TEST(LabelDesign, ChangesWriteTheirColumnsAndMarkTheLabel) {
    LabelDesign design(sampleLabel());
    design.applyPosition("12", "7"); // nothing selected: nothing changes
    EXPECT_FALSE(design.modified());

    design.select(3);
    design.applyPosition("12", "7");
    const LabelElement& row = design.label().elements[3];
    EXPECT_EQ(row.at(LabelElement::XPos), "12");
    EXPECT_EQ(row.at(LabelElement::DownX), "12");
    EXPECT_EQ(row.at(LabelElement::DownY), "7");
    EXPECT_EQ(design.anchorMm(), (PixelPoint{12, 7}));
    EXPECT_TRUE(design.modified());

    // Turning keeps the anchor where the boxes say, and Down.X/Y stay equal to X/Y.pos.
    design.setDirection("90", "4", "9");
    EXPECT_EQ(row.at(LabelElement::Direction), "90");
    EXPECT_EQ(row.at(LabelElement::XPos), "4");
    EXPECT_EQ(row.at(LabelElement::DownY), "9");
    EXPECT_EQ(design.anchorMm(), (PixelPoint{4, 9}));

    // The rectangle follows a new name at once: "T3" is 2 cells of 7 + 2, "T3xx" 4 of 7 + 4.
    const int before = design.geometry().entry(3).rect.top;
    design.setName("T3xx");
    EXPECT_EQ(design.geometry().entry(3).rect.top, before - 16);

    design.setSize("24*48");
    EXPECT_EQ(row.at(LabelElement::Size), "24*48");
    EXPECT_EQ(design.geometry().entry(3).cellHeight, 30);

    design.applyPosition("", "-"); // half-typed boxes
    EXPECT_EQ(row.at(LabelElement::XPos), "0");
    EXPECT_EQ(row.at(LabelElement::DownY), "0");

    LabelDesign clicked(sampleLabel());
    clicked.finishDrag(4, 4, 4);
    EXPECT_FALSE(clicked.modified()) << "picked without moving";

    design.finishDrag(4, -3, 15);
    EXPECT_EQ(design.label().elements[4].at(LabelElement::DownX), "-3");
    EXPECT_EQ(design.label().elements[4].at(LabelElement::YPos), "15");
}

TEST(LabelDesign, ClearingTheSelectedElementsBoxEndsTheSelection) {
    LabelDesign design(sampleLabel());
    design.select(3);
    EXPECT_FALSE(design.setTicked(4, false)) << "another row";
    EXPECT_EQ(design.selected(), 3u);
    EXPECT_TRUE(design.setTicked(3, false));
    EXPECT_FALSE(design.selected());
    EXPECT_EQ(design.label().elements[3].at(LabelElement::State), "FALSE");
    EXPECT_FALSE(design.setTicked(10, true));
    EXPECT_EQ(design.label().elements[10].at(LabelElement::State), "TRUE");
    EXPECT_TRUE(design.modified());
}

TEST(LabelDesign, SaveAndReload) {
    test::TempDir dir;
    const auto saved = dir.path() / "2eng.bel";
    const auto other = dir.path() / "3eng.bel";
    LabelDesign design(sampleLabel());
    design.setShopNumber("07");
    ASSERT_TRUE(design.save(saved).ok());
    EXPECT_FALSE(design.modified());
    EXPECT_EQ(LabelFile::load(saved).value, design.label());

    // A save that fails keeps the label modified.
    design.setHeight("40");
    EXPECT_FALSE(design.save(saved / "x.bel").ok());
    EXPECT_TRUE(design.modified());

    // A reload that fails leaves everything as it was; one that works drops the selection and
    // leaves the label modified against the file the designer opened.
    design.select(3);
    EXPECT_FALSE(design.reload(other).ok());
    EXPECT_EQ(design.selected(), 3u);
    Label shorter;
    shorter.shopNumber = "09";
    shorter.elements.push_back(
        LabelElement({"New", "", "180", "12*24", "12*24", "30", "20", "TRUE", "30", "20"}));
    ASSERT_TRUE(LabelFile::save(other, shorter).ok());
    ASSERT_TRUE(design.save(saved).ok());
    ASSERT_TRUE(design.reload(other).ok());
    EXPECT_FALSE(design.selected());
    EXPECT_TRUE(design.modified());
    EXPECT_EQ(design.label().shopNumber, "09");
    EXPECT_EQ(design.label().elements.size(), 12u);
    EXPECT_EQ(design.geometry().entry(0).direction, 180);
}
