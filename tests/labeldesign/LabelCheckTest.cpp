#include "labeldesign/LabelCheck.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {

Label sendable() {
    Label label{"05", "40", "30", {}};
    for (int i = 0; i < 10; ++i)
        label.elements.push_back(
            LabelElement({"e", "", "0", "12*24", "12*24", "1", "2", "TRUE", "1", "2"}));
    return label;
}

} // namespace

TEST(LabelCheck, ALabelIsSentOnlyWhenWholeSizedAndPlacedInWholeMillimetres) {
    const struct {
        void (*change)(Label&);
        const char* problem; // "" when the label is sent
    } cases[] = {
        {[](Label&) {}, ""},
        {[](Label& l) { l.elements[3].at(LabelElement::XPos) = "-3"; }, ""},
        {[](Label& l) { l.width = "60", l.height = "20"; }, ""},
        {[](Label& l) { l.height = ""; },
         "The label height must be a whole number of mm from 20 to 99, not \"\""},
        {[](Label& l) { l.height = "3x"; },
         "The label height must be a whole number of mm from 20 to 99, not \"3x\""},
        {[](Label& l) { l.width = "61"; },
         "The label width must be a whole number of mm from 20 to 60, not \"61\""},
        {[](Label& l) { l.width = "-40"; },
         "The label width must be a whole number of mm from 20 to 60, not \"-40\""},
        {[](Label& l) { l.elements.clear(); },
         "The label has no elements: its file is empty or holds only the header line"},
        {[](Label& l) { l.elements.resize(51, l.elements[0]); },
         "The label has 51 elements; the scale takes at most 50 (the designer shows the first "
         "50)"},
        {[](Label& l) { l.shortLine = 4; },
         "Line 4 of the label file has fewer than 10 fields: the file is cut short or is not a "
         "label file"},
        {[](Label& l) { l.elements[1].at(LabelElement::YPos) = "1.5"; },
         "Row 2 \"e\": Y.pos must be a whole number of mm, not \"1.5\""},
        {[](Label& l) { l.elements[9].at(LabelElement::DownY) = ""; },
         "Row 10 \"e\": Down.Y must be a whole number of mm, not \"\""},
    };
    for (const auto& c : cases) {
        Label label = sendable();
        c.change(label);
        EXPECT_EQ(LabelCheck::downloadProblem(label, Lang::English), c.problem);
    }
    EXPECT_EQ(LabelCheck::fileProblem("/etc/passwd", Lang::English),
              "Not a label file (a label file's name ends in .bel): /etc/passwd");
    EXPECT_EQ(LabelCheck::fileProblem("label/2ENG.Bel", Lang::English), "");
}
