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
    const std::pair<void (*)(Label&), const char*> cases[] = {
        {[](Label& l) { l.elements[3].at(LabelElement::XPos) = "-3"; }, ""},
        {[](Label& l) { l.height = ""; },
         "The label height must be a whole number of mm from 20 to 99, not \"\""},
        {[](Label& l) { l.width = "61"; },
         "The label width must be a whole number of mm from 20 to 60, not \"61\""},
        {[](Label& l) { l.elements.clear(); },
         "The label has no elements: its file is empty or holds only the header line"},
        {[](Label& l) { l.elements.resize(51, l.elements[0]); },
         "The label has 51 elements; the scale takes at most 50 (the designer shows the first 50)"},
        {[](Label& l) { l.shortLine = 4; },
         "Line 4 of the label file has fewer than 10 fields: the "
         "file is cut short or is not a label file"},
        {[](Label& l) { l.elements[1].at(LabelElement::DownY) = "1.5"; },
         "Row 2 \"e\": Down.Y must be a whole number of mm, not \"1.5\""}};
    for (const auto& [change, problem] : cases) {
        Label label = sendable();
        change(label);
        EXPECT_EQ(LabelCheck::downloadProblem(label, Lang::English), problem);
    }
    EXPECT_EQ(LabelCheck::fileProblem("/etc/passwd", Lang::English),
              "Not a label file (a label file's name ends in .bel): /etc/passwd");
    EXPECT_EQ(LabelCheck::fileProblem("label/2ENG.Bel", Lang::English), "");
}
