#include "link/JobRoutine.h"

#include "link/LinkOutcome.h"
#include "link/RecordBuilder.h"
#include "link/UsbChannel.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace korvan;

namespace {

const std::string kHello = "\xAA";
const std::string kAck = "\x0D";
const std::string kEnd = "\x0F";

CommodityRow commodity(const std::string& name) {
    return {name, "1", "2.00", true, true, "0", "0", false, "0", "0"};
}

JobRequest commodities(std::size_t rows) {
    CommodityPayload payload;
    for (std::size_t i = 0; i < rows; ++i)
        payload.rows.push_back(commodity("P" + std::to_string(i)));
    return {std::move(payload)};
}

struct Exchange {
    std::string answer;
    std::string expectedOut;
};

struct Case {
    const char* name;
    JobRequest request;
    std::vector<Exchange> exchanges;
    std::string result;
    bool completed;
};

} // namespace

TEST(JobRoutine, RulesInTheirOrder) {
    const JobRequest twoRows = commodities(2);
    JobRequest orinKesa = twoRows;
    std::get<CommodityPayload>(orinKesa.payload).family = ModelFamily::OrinKesa;
    const std::vector<Case> cases = {
        {"empty list: the step total is met before the command",
         commodities(0),
         {{kHello, kEnd}, {kEnd, ""}},
         "0Data download completed",
         true},
        {"two records, both acknowledgements accepted",
         twoRows,
         {{kHello, "\x13"},
          {kAck, RecordBuilder::build(twoRows, 0)},
          {")", RecordBuilder::build(twoRows, 1)},
          {kAck, kEnd},
          {kEnd, ""}},
         "2Data download completed",
         true},
        {"short format family sends 0x03", orinKesa, {{kHello, "\x03"}}, "", false},
        {"busy wins over a met step total",
         commodities(0),
         {{"\x0B", ""}},
         "Electronic scales in use",
         false},
        {"data error", twoRows, {{kHello, "\x13"}, {"\x0E", ""}}, "Data error", false},
        {"two bytes in one chunk fit no rule", twoRows, {{"\x0D\x0D", ""}}, "Data error", false},
        {"an unknown byte fits no rule", twoRows, {{"A", ""}}, "Data error", false},
        {"reconnect answer sends nothing", twoRows, {{kHello, "\x13"}, {"(", ""}}, "", false},
        // Only the answer to the PC's own end byte completes a download.
        {"the scale ends after the first record",
         twoRows,
         {{kHello, "\x13"}, {kAck, RecordBuilder::build(twoRows, 0)}, {kEnd, ""}},
         "The scale ended the download after 1 of 2 records",
         false},
        {"a stray end byte before the command",
         JobRequest{StoreNamePayload{"T"}},
         {{kEnd, ""}},
         "The scale ended the download after 0 of 1 records",
         false},
        {"clear records",
         JobRequest{ClearRecordsPayload{}},
         {{kHello, "\x18"}, {kAck, kEnd}, {kEnd, ""}},
         "Electronic scale record clearance completed",
         true},
        {"store name: one record",
         JobRequest{StoreNamePayload{"T"}},
         {{kHello, "\x02"}, {kAck, "T\r\n"}, {kAck, kEnd}, {kEnd, ""}},
         "1Data download completed",
         true},
        {"label: header is the first step",
         JobRequest{LabelPayload{}},
         {{kHello, "\x06"}, {kAck, "\x0C\x0C\r\n"}, {kAck, kEnd}},
         "",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        JobRoutine routine(c.request, Lang::English);
        ASSERT_EQ(routine.prepare(), 0);
        for (const Exchange& e : c.exchanges)
            EXPECT_EQ(routine.onAnswer(e.answer), e.expectedOut) << "answer " << int(e.answer[0]);
        EXPECT_EQ(routine.result(), c.result);
        EXPECT_EQ(routine.completed(), c.completed);
        EXPECT_EQ(routine.finished(), !c.result.empty());
    }
}

TEST(JobRoutine, StepsCountAndProgressAdvance) {
    JobRoutine routine(commodities(3), Lang::English);
    EXPECT_EQ(routine.stepTotal(), 3);
    EXPECT_EQ(routine.countText(), "0");
    routine.onAnswer(kHello);
    EXPECT_EQ(routine.stepCounter(), 0); // the command is no step
    routine.onAnswer(kAck);
    routine.onAnswer(kAck);
    EXPECT_EQ(routine.stepCounter(), 2);
    EXPECT_EQ(routine.progressPosition(), 2);
    EXPECT_EQ(routine.countText(), "2");
}

TEST(JobRoutine, OutcomesFollowTheLanguage) {
    JobRoutine chinese(JobRequest{StoreNamePayload{"T"}}, Lang::Chinese);
    for (const std::string& a : {kHello, kAck, kAck, kEnd})
        chinese.onAnswer(a);
    EXPECT_EQ(chinese.result(), "1条数据传送完成");

    JobRoutine busy(JobRequest{StoreNamePayload{"T"}}, Lang::Chinese);
    busy.onAnswer("\x0B");
    EXPECT_EQ(busy.result(), "电子秤正在使用");
}

TEST(JobRoutine, NothingChangesOnceFinished) {
    JobRoutine routine(commodities(1), Lang::English);
    routine.onAnswer("\x0B");
    EXPECT_EQ(routine.onAnswer(kEnd), "");
    EXPECT_EQ(routine.onAnswer(kHello), "");
    EXPECT_EQ(routine.result(), "Electronic scales in use");
    EXPECT_FALSE(routine.completed());

    JobRoutine stopped(commodities(1), Lang::English);
    stopped.stop("No answer from the Internet ports");
    EXPECT_EQ(stopped.onAnswer(kEnd), "");
    EXPECT_EQ(stopped.result(), "No answer from the Internet ports");
    EXPECT_FALSE(JobRoutine(commodities(1), Lang::English).requestStop());
}

TEST(JobRoutine, ReconnectIsRequestedOnce) {
    JobRoutine routine(commodities(2), Lang::English);
    routine.onAnswer("(");
    EXPECT_EQ(routine.blockMode(), JobRoutine::kBlockModeReconnect);
    EXPECT_TRUE(routine.takeReconnectRequest());
    EXPECT_FALSE(routine.takeReconnectRequest());
}

namespace {

struct Reader {
    std::vector<SalesRecord> records;
    JobRoutine routine;

    explicit Reader(long existingRows = 0)
        : routine(
              [this, existingRows] {
                  return JobRequest{ReadRecordsPayload{
                      existingRows, [this](const SalesRecord& s) { records.push_back(s); }}};
              }(),
              Lang::English) {
        EXPECT_EQ(routine.onAnswer(kHello), "\x08");
        EXPECT_EQ(routine.onAnswer(kAck), kAck); // first request
    }
};

const std::string kLine = " 2026-03-01 10:00\x0C"
                          "Apple \x0C"
                          "1.250\x0C\t5.00\x0C"
                          "6.25 \r\n";

} // namespace

TEST(ReadRecords, LinesBecomeTrimmedRecordsAtTheNextListRow) {
    Reader reader(7);
    EXPECT_EQ(reader.routine.onAnswer(kLine), kAck);
    EXPECT_EQ(reader.routine.onAnswer(kLine), kAck);
    EXPECT_EQ(reader.routine.countText(), "2");
    EXPECT_EQ(reader.routine.onAnswer(kEnd), "");
    EXPECT_EQ(reader.routine.result(), "2Data download completed");
    ASSERT_EQ(reader.records.size(), 2u);
    EXPECT_EQ(reader.records[0].row, 7);
    EXPECT_EQ(reader.records[1].row, 8);
    const std::array<std::string, 5> fields = {"2026-03-01 10:00", "Apple", "1.250", "5.00",
                                               "6.25"};
    EXPECT_EQ(reader.records[0].fields, fields);
}

TEST(ReadRecords, EveryCompleteLineOfAChunkIsTakenAndCounted) {
    const std::string line2 = "t2\x0Cn2\x0Cw2\x0Cp2\x0C"
                              "a2\r\n";
    struct ReadCase {
        const char* name;
        std::vector<Exchange> exchanges; // after the first request
        std::vector<std::string> times;  // field 1 of each record taken, in order
        std::string result;
    };
    const std::vector<ReadCase> cases = {
        {"two lines in one chunk, one acknowledgement, then the end byte",
         {{kLine + line2, kAck}, {kEnd, ""}},
         {"2026-03-01 10:00", "t2"},
         "2Data download completed"},
        {"a line and the start of the next, the rest later",
         {{kLine + line2.substr(0, 4), kAck}, {line2.substr(4), kAck}, {kEnd, ""}},
         {"2026-03-01 10:00", "t2"},
         "2Data download completed"},
        {"three lines, then the end byte after a half line",
         {{kLine + line2 + kLine + "half", kAck}, {kEnd, ""}},
         {"2026-03-01 10:00", "t2", "2026-03-01 10:00"},
         "3Data download completed"},
        {"stop: the line on its way and all complete ones kept, the end byte, then silence",
         {{"stop", ""}, {kLine.substr(0, 5), ""}, {kLine.substr(5) + line2, kEnd}, {"silence", ""}},
         {"2026-03-01 10:00", "t2"},
         "Stopped after 2 records"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        Reader reader(3);
        for (const Exchange& e : c.exchanges)
            if (e.answer == "stop")
                EXPECT_TRUE(reader.routine.requestStop());
            else if (e.answer == "silence")
                reader.routine.stop("No answer from the Internet ports");
            else
                EXPECT_EQ(reader.routine.onAnswer(e.answer), e.expectedOut);
        EXPECT_EQ(reader.routine.result(), c.result);
        ASSERT_EQ(reader.records.size(), c.times.size());
        for (std::size_t i = 0; i < c.times.size(); ++i) {
            EXPECT_EQ(reader.records[i].fields[0], c.times[i]);
            EXPECT_EQ(reader.records[i].row, 3 + static_cast<long>(i));
        }
        EXPECT_EQ(reader.routine.progressPosition(), 1 + static_cast<long>(c.times.size()));
    }
}

TEST(ReadRecords, TheStepTotalStopsInsideAChunk) {
    Reader reader;
    for (int i = 1; i < 1999; ++i)
        ASSERT_EQ(reader.routine.onAnswer(kLine), kAck) << i;
    // The 1999th line is taken; the step total stops the read before the next two.
    EXPECT_EQ(reader.routine.onAnswer(kLine + kLine + kLine), kEnd);
    EXPECT_EQ(reader.records.size(), 1999u);
    EXPECT_EQ(reader.routine.accumulatedBytes(), 0u);
    reader.routine.onAnswer(kEnd);
    EXPECT_EQ(reader.routine.result(), "1999Data download completed");
    EXPECT_EQ(reader.records.size(), 1999u);
}

TEST(ReadRecords, ALineInPiecesIsTakenOnceWhenTheLineFeedArrives) {
    Reader reader;
    // A lone CR or ack byte inside a line is data, not an acknowledgement.
    EXPECT_EQ(reader.routine.onAnswer(kLine.substr(0, 5)), "");
    EXPECT_EQ(reader.routine.onAnswer(kLine.substr(5, kLine.size() - 6)), "");
    EXPECT_EQ(reader.routine.onAnswer("\n"), kAck);
    ASSERT_EQ(reader.records.size(), 1u);
    EXPECT_EQ(reader.records[0].fields[4], "6.25");
}

TEST(ReadRecords, EndByteStopsMidLineAndEmptyScaleCountsZero) {
    Reader midLine;
    midLine.routine.onAnswer("half a line");
    EXPECT_EQ(midLine.routine.onAnswer(kEnd), "");
    EXPECT_EQ(midLine.routine.result(), "0Data download completed");
    EXPECT_TRUE(midLine.records.empty());

    // End byte straight after the command: never a negative count.
    JobRoutine direct(JobRequest{ReadRecordsPayload{}}, Lang::English);
    direct.onAnswer(kHello);
    direct.onAnswer(kEnd);
    EXPECT_EQ(direct.result(), "0Data download completed");
}

TEST(ReadRecords, RefusalWhereALineShouldStart) {
    Reader busy;
    busy.routine.onAnswer("\x0B");
    EXPECT_EQ(busy.routine.result(), "Electronic scales in use");

    Reader error;
    error.routine.onAnswer("\x0E");
    EXPECT_EQ(error.routine.result(), "Data error");

    // Inside a line the same byte is data.
    Reader inside;
    inside.routine.onAnswer("ab");
    inside.routine.onAnswer("\x0B");
    EXPECT_FALSE(inside.routine.finished());
}

TEST(ReadRecords, StopsAtStep2000AndCounts1999) {
    Reader reader;
    for (int i = 1; i < 2000; ++i)
        ASSERT_EQ(reader.routine.onAnswer(kLine), kAck) << i;
    // The 2000th line is not taken: the end byte goes out instead.
    EXPECT_EQ(reader.routine.onAnswer(kLine), kEnd);
    EXPECT_EQ(reader.records.size(), 1999u);
    reader.routine.onAnswer(kEnd);
    EXPECT_EQ(reader.routine.result(), "1999Data download completed");
}

TEST(ReadRecords, AnEndlessLineEndsWithDataErrorAndBoundedMemory) {
    Reader reader;
    const std::string chunk(100, 'x');
    int chunks = 0;
    while (!reader.routine.finished() && chunks < 1000) {
        reader.routine.onAnswer(chunk);
        EXPECT_LE(reader.routine.accumulatedBytes(), JobRoutine::kMaxRecordLine);
        ++chunks;
    }
    EXPECT_EQ(reader.routine.result(), "Data error");
    EXPECT_LE(chunks * chunk.size(), JobRoutine::kMaxRecordLine + chunk.size());
}

TEST(ReadRecords, CompleteLinesCountTowardsNoLengthLimitOnlyTheUnfinishedOneDoes) {
    // 60 short lines in one chunk are far over the line limit together, and all are taken.
    Reader reader;
    std::string many;
    for (int i = 0; i < 60; ++i)
        many += std::string(90, 'x') + "\r\n";
    ASSERT_GT(many.size(), JobRoutine::kMaxRecordLine);
    EXPECT_EQ(reader.routine.onAnswer(many), kAck);
    EXPECT_EQ(reader.records.size(), 60u);
    EXPECT_FALSE(reader.routine.finished());
}

TEST(ReadRecords, ParseSalesRecordFieldByField) {
    // Field 5 runs to the end, further separators included; missing fields are empty.
    EXPECT_EQ(JobRoutine::parseSalesRecord("a\x0C"
                                           "b\x0C"
                                           "c\x0C"
                                           "d\x0C"
                                           "e\x0C"
                                           "f")
                  .fields[4],
              "e\x0C"
              "f");
    const SalesRecord shortLine = JobRoutine::parseSalesRecord(" a \x0C b\r\n");
    EXPECT_EQ(shortLine.fields, (std::array<std::string, 5>{"a", "b", "", "", ""}));
}

TEST(ProgramUpdate, BlocksOfSixtyFourBytesThenTheEndMarker) {
    test::TempDir dir;
    std::string image;
    for (int i = 0; i < 65; ++i)
        image += static_cast<char>(i + 1);
    test::writeBytes(dir / "fw.bin", image);

    JobRoutine routine(JobRequest{UpdatePayload{dir / "fw.bin"}}, Lang::English);
    ASSERT_EQ(routine.prepare(), 0);
    EXPECT_EQ(routine.stepTotal(), 2);
    EXPECT_EQ(routine.onAnswer(kHello), "\x28");
    EXPECT_EQ(routine.onAnswer(kAck), image.substr(0, 64));
    EXPECT_EQ(routine.blockMode(), JobRoutine::kBlockModeOn);
    EXPECT_EQ(routine.countText(), "64");
    EXPECT_EQ(routine.onAnswer(kAck), image.substr(64) + std::string(63, '\0'));
    EXPECT_EQ(routine.countText(), "65");
    EXPECT_EQ(routine.onAnswer(kAck), "\xAA\xBB\xCC\xDD");
    EXPECT_EQ(routine.blockMode(), JobRoutine::kBlockModeOff);
    routine.onAnswer(kEnd);
    EXPECT_EQ(routine.result(), "65Data download completed");
}

TEST(ProgramUpdate, AnImageThatChangesWhileSentFailsAndEmptyOrBadFilesAreRefused) {
    test::TempDir dir;
    test::writeBytes(dir / "fw.bin", std::string(130, 'x'));
    JobRequest r{UpdatePayload{dir / "fw.bin"}};
    JobRoutine shrunk(r, Lang::Chinese);
    ASSERT_EQ(shrunk.prepare(), 0);
    shrunk.onAnswer(kHello);
    EXPECT_EQ(shrunk.onAnswer(kAck), std::string(64, 'x'));
    std::filesystem::resize_file(dir / "fw.bin", 100); // the rest would go out as zeros
    EXPECT_EQ(shrunk.onAnswer(kAck), "");
    EXPECT_EQ(shrunk.result(), "程序文件在发送过程中被修改, 升级未完成");
    EXPECT_FALSE(shrunk.completed());

    test::writeBytes(dir / "empty.bin", "");
    r = {UpdatePayload{dir / "empty.bin"}};
    EXPECT_EQ(JobRoutine(r, Lang::English).prepare(), LinkCode::kUpdateFileEmpty);
    r = {UpdatePayload{dir / "missing.bin"}};
    EXPECT_EQ(JobRoutine(r, Lang::English).prepare(), 215);
    r = {UpdatePayload{dir.path()}}; // a folder has no size to send
    EXPECT_EQ(JobRoutine(r, Lang::English).prepare(), 216);
    // A named pipe would block the open until a writer came: refused at once instead.
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    r = {UpdatePayload{dir / "fifo"}};
    EXPECT_EQ(JobRoutine(r, Lang::English).prepare(), 216);
}

TEST(RecordSizes, ARecordThatDoesNotFitOneMessageRefusesTheJob) {
    const std::string huge(70000, 'x');
    const JobRequest storeName{StoreNamePayload{huge}};
    DescriptionPayload descriptionRows{{{"1", "short"}, {"2", huge}, {"3", huge}}};
    const JobRequest descriptions{descriptionRows};
    const JobRequest labelHeader{LabelPayload{{huge, "", ""}, {}}};
    const JobRequest labelElement{LabelPayload{{}, {LabelElementRow{huge, "0", false, false, "", "", false, "0", "0"}}}};
    const std::size_t limit = 65507;
    struct SizeCase {
        const char* name;
        JobRequest request;
        std::size_t limit;
        Lang lang;
        std::string refusal;
        std::function<bool(std::string_view)> carries = {};
    };
    // Over USB a line break may not end a report before the record's last.
    descriptionRows.rows[1].text = std::string(62, 'b') + "\r\n" + "c";
    const JobRequest borderBreak{descriptionRows};
    const auto usb = [](std::string_view m) { return !UsbChannel::reports(m).empty(); };
    const std::vector<SizeCase> cases = {
        {"one text", storeName, limit, Lang::English,
         "Row 1 is too long to send (70002 bytes, at most 65507)"},
        {"the first row that does not fit is named", descriptions, limit, Lang::English,
         "Row 2 is too long to send (70002 bytes, at most 65507)"},
        {"in Chinese", descriptions, limit, Lang::Chinese,
         "第2行记录太长, 无法发送 (70002字节, 最多65507字节)"},
        {"the label header", labelHeader, limit, Lang::English,
         "The label header is too long to send (70004 bytes, at most 65507)"},
        {"label elements count from 1 after the header", labelElement, limit, Lang::English,
         "Row 1 is too long to send"},
        {"a link without a limit", descriptions, 0, Lang::English, ""},
        {"a line break on a USB report border", borderBreak, 0, Lang::English,
         "Row 2 cannot be sent over USB", usb},
        {"the same record where the link carries it", borderBreak, 0, Lang::English, ""},
        {"records that fit", JobRequest{StoreNamePayload{"T"}}, limit, Lang::English, ""},
        {"a job without records", JobRequest{ReadRecordsPayload{}}, 1, Lang::English, ""},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string refusal =
            JobRoutine(c.request, c.lang).checkMessageSizes(c.limit, c.carries);
        if (c.refusal.empty())
            EXPECT_EQ(refusal, "");
        else
            EXPECT_EQ(refusal.substr(0, c.refusal.size()), c.refusal);
    }
}
