#include "labeldesign/LabelDesign.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "common/Prompt.h"
#include "labeldesign/LabelFile.h"
#include "support/TempDir.h"

using namespace korvan;

namespace {

// Twelve rows: row 3 a big-font text, row 4 one in a font the scale does not know, row 5 a
// small-font text, row 9 the bar code, row 10 hidden.
Label sampleLabel() {
    Label label;
    label.shopNumber = "01";
    for (int i = 0; i < 12; ++i) {
        const std::string pos = std::to_string(i);
        label.elements.push_back(
            LabelElement({"T" + pos, "", "0", "12*24", "12*24", pos, pos, "TRUE", pos, pos}));
    }
    label.elements[4].at(LabelElement::Font) = "16*32";
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
    EXPECT_FALSE(design.select(4).fontSizeEnabled) << "the scale prints any other font small";
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
    design.select(3);
    EXPECT_EQ(design.select(10), ElementPanel{}) << "a hidden element cannot be picked";
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

TEST(LabelDesign, OpenTakesTheWholeFileAndSaveWritesItBack) {
    test::TempDir dir;
    // Rows on screen before Open (0: a designer without a file), rows in the file opened.
    const std::pair<std::size_t, std::size_t> cases[] = {{0, 12}, {24, 0}, {12, 24}, {24, 30}};
    for (const auto& [startRows, fileRows] : cases) {
        Label shown = sampleLabel(), file = sampleLabel();
        shown.elements.resize(startRows, shown.elements[0]);
        file.elements.resize(fileRows, LabelElement({"X", "", "90"}));
        const auto path = dir / (std::to_string(fileRows) + ".bel");
        const std::string bytes = RecordFile::joinLines(LabelFile::lines(file));
        test::writeBytes(path, bytes);
        LabelDesign design(shown);
        ASSERT_TRUE(design.open(path, Lang::English));
        EXPECT_EQ(design.label(), file);
        EXPECT_TRUE(design.modified()) << "a Download waits for a Save";
        EXPECT_EQ(design.save(Lang::English), LabelDesign::Saved::Written);
        EXPECT_EQ(test::readBytes(path), bytes) << fileRows;
    }
    // A file that cannot be read whole changes nothing.
    Prompt::Script prompt;
    LabelDesign design(dir / "12.bel");
    EXPECT_FALSE(design.open(dir / "none.bel", Lang::English));
    EXPECT_EQ(design.file(), dir / "12.bel");
    EXPECT_EQ(design.label().elements.size(), 12u);
}

TEST(LabelDesign, DownloadWaitsForASavedLabelThatCouldBeOpened) {
    test::TempDir dir;
    Prompt::Script prompt;
    test::writeBytes(dir / "record/dqlabel.rec", "/etc/passwd\f\r\n");
    LabelDesign design = LabelDesign::open(DataDir(dir.path()), "english", Lang::English);
    EXPECT_TRUE(design.file().empty()) << "never opened, so never written over";
    EXPECT_EQ(design.downloadRefusal(Lang::English),
              "Not a label file (a label file's name ends in .bel): /etc/passwd");

    ASSERT_TRUE(LabelFile::save(dir / "2.bel", sampleLabel()));
    ASSERT_TRUE(design.open(dir / "2.bel", Lang::English));
    EXPECT_EQ(design.downloadRefusal(Lang::English), "Please save the data first!");
    ASSERT_EQ(design.save(Lang::English), LabelDesign::Saved::Written);
    EXPECT_EQ(design.downloadRefusal(Lang::English), "");
    EXPECT_EQ(design.downloadRequest().rowCount(), 12u);
}
