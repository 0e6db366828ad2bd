#include "labeldesign/LabelDownload.h"
#include "link/RecordBuilder.h"

#include <gtest/gtest.h>

using namespace korvan;

TEST(LabelDownload, TheOpenLabelBecomesTheHeaderAndElementRecords) {
    Label label{"05", "40", "30", {}};
    label.elements.push_back(
        LabelElement({"Price", "ignored", "90", "12*24", "24*48", "9", "9", "TRUE", "12", "7"}));
    label.elements.push_back(
        LabelElement({"Tare", "", "0", "9*17", "12*24", "1", "1", "FALSE", "3", "4"}));
    for (int i = 2; i < 9; ++i)
        label.elements.push_back(LabelElement({"x", "", "0", "9*17", "", "", "", "FALSE", "", ""}));
    label.elements.push_back(
        LabelElement({"Code", "", "180", "12*24", "5", "0", "0", "TRUE", "2", "20"}));

    const JobRequest request = LabelDownload::request(label);
    EXPECT_EQ(request.kind(), JobKind::LabelDownload);
    ASSERT_EQ(request.rowCount(), 10u);
    EXPECT_EQ(RecordBuilder::build(request, 0), "05\f40\f30\r\n");
    // The download position, not X.pos/Y.pos, and no Explain.
    EXPECT_EQ(RecordBuilder::build(request, 1),
              std::string("\x81\f12\f7\f\x18\f\x83\f\x22\fPrice\r\n"));
    // A hidden row still uses up its number.
    EXPECT_EQ(RecordBuilder::build(request, 2), std::string("\x80\f3\f4\f\f\x80\f\x11\fTare\r\n"));
    // The bar code row: the bar height, "2", then the direction.
    EXPECT_EQ(RecordBuilder::build(request, 10), std::string("\x8A\f2\f20\f5\f2\f\x82\fCode\r\n"));
    EXPECT_EQ(RecordBuilder::build(request, 11), "");
}

TEST(LabelDownload, SendsAtMostFiftyElements) {
    Label label;
    for (int i = 0; i < 130; ++i)
        label.elements.push_back(
            LabelElement({"e" + std::to_string(i), "", "0", "9*17", "", "", "", "TRUE", "1", "1"}));
    const JobRequest request = LabelDownload::request(label);
    ASSERT_EQ(request.rowCount(), 50u);
    EXPECT_EQ(request.get<LabelPayload>()->elements.back().name, "e49");
    // No record may hold a zero byte; the last element number is 0x81 + 49.
    EXPECT_EQ(RecordBuilder::build(request, 50).front(), '\xB2');
    EXPECT_EQ(RecordBuilder::build(request, 51), "");
}
