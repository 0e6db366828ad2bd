#include "labeldesign/LabelDownload.h"
#include "link/RecordBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvan;

TEST(LabelDownload, TheOpenLabelBecomesTheHeaderAndElementRecords) {
    Label label{"05", "40", "30", {}};
    label.elements.push_back(
        LabelElement({"Price", "ignored", "90", "12*24", "24*48", "9", "9", "TRUE", "12", "7"}));
    label.elements.push_back(
        LabelElement({"Tare", "", "0", "9*17", "12*24", "1", "1", "FALSE", "3", "4"}));
    // Called "Code" but not in the bar code row: a text, as the scale prints it.
    label.elements.push_back(LabelElement({"Code", "", "0", "9*17", "", "", "", "TRUE", "", ""}));
    for (int i = 3; i < 9; ++i)
        label.elements.push_back(LabelElement({"x", "", "0", "9*17", "", "", "", "FALSE", "", ""}));
    label.elements.push_back(
        LabelElement({"Bars", "", "180", "12*24", "5", "0", "0", "TRUE", "2", "20"}));

    const JobRequest request = LabelDownload::request(label);
    EXPECT_EQ(request.kind(), JobKind::LabelDownload);
    ASSERT_EQ(request.rowCount(), 10u);
    EXPECT_EQ(RecordBuilder::build(request, 0), "05\f40\f30\r\n");
    // The download position, not X.pos/Y.pos, and no Explain.
    EXPECT_EQ(RecordBuilder::build(request, 1),
              std::string("\x81\f12\f7\f\x18\f\x83\f\x22\fPrice\r\n"));
    // A hidden row still uses up its number.
    EXPECT_EQ(RecordBuilder::build(request, 2), std::string("\x80\f3\f4\f\f\x80\f\x11\fTare\r\n"));
    EXPECT_EQ(RecordBuilder::build(request, 3), std::string("\x83\f\f\f\f\x80\f\fCode\r\n"));
    // The bar code row, whatever it is called: the bar height, "2", then the direction.
    EXPECT_EQ(RecordBuilder::build(request, 10), std::string("\x8A\f2\f20\f5\f2\f\x82\fBars\r\n"));
    EXPECT_EQ(RecordBuilder::build(request, 11), "");
}

TEST(LabelDownload, FontAndSizeCellsAsTheScaleReadsThem) {
    // Field 4 marks the big font; field 6 is the size's code. Only "12*24" is the big font.
    const struct {
        const char* font;
        const char* size;
        std::string field4;
        std::string field6;
    } cases[] = {
        {"12*24", "12*24", "\x18", "\x11"}, {"12*24", "12*48", "\x18", "\x20"},
        {"12*24", "24*24", "\x18", "\x02"}, {"12*24", "24*48", "\x18", "\x22"},
        {"12*24", "9*9", "\x18", ""},       {"9*17", "24*48", "", "\x22"},
        {"", "12*24", "", "\x11"},          {"16*32", "12*48", "", "\x20"},
    };
    for (const auto& c : cases) {
        Label label;
        label.elements = {LabelElement({"N", "", "0", c.font, c.size, "", "", "TRUE", "1", "1"})};
        const auto fields =
            RecordFile::splitFields(RecordBuilder::build(LabelDownload::request(label), 1), 7);
        EXPECT_EQ(fields[3], c.field4) << c.font << " " << c.size;
        EXPECT_EQ(fields[5], c.field6) << c.font << " " << c.size;
    }
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

TEST(LabelDownload, FromTheFileTheLanguageChoosesOrTheOneNamed) {
    test::TempDir dir;
    const DataDir data(dir.path());
    const std::string label = "05\f40\f30\r\nA\f\f0\f12*24\f12*24\f1\f1\fTRUE\f1\f1\r\n";
    test::writeBytes(data.label("2eng.bel"), label);
    test::writeBytes(dir / "label.txt", label);
    const struct {
        const char* dqlabel; // record/dqlabel.rec
        std::filesystem::path named;
        std::string refusal; // empty: a request of one element
    } cases[] = {
        {".\\label\\2.bel\f\r\n.\\label\\2chn.bel\f\r\n.\\label\\2eng.bel\f\r\n", {}, ""},
        {"no separator\r\n", {}, "record/dqlabel.rec names no label file for this language"},
        {"", dir / "label.txt",
         "Not a label file (a label file's name ends in .bel): " + (dir / "label.txt").string()},
        {".\\label\\none.bel\f\r\n", {}, "*"}, // the read failure, naming the file
    };
    for (const auto& c : cases) {
        test::writeBytes(data.record("dqlabel.rec"), c.dqlabel);
        const auto prepared = LabelDownload::fromFile(data, c.named, "english", Lang::English);
        EXPECT_EQ(prepared.request ? prepared.request->rowCount() : 0u,
                  c.refusal.empty() ? 1u : 0u);
        if (c.refusal == "*") {
            EXPECT_NE(prepared.refusal.find("none.bel"), std::string::npos) << prepared.refusal;
        } else {
            EXPECT_EQ(prepared.refusal, c.refusal);
        }
    }
}
