#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "korvan-scale/ReadableText.h"
#include "korvan-scale/ScaleSession.h"
#include "korvan-scale/ScaleStore.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"
#include "tools/scale/Records.h"

using namespace korvan;
using namespace korvan::sim;
using korvan::test::byte;
using korvan::test::readBytes;
using korvan::test::record;
using korvan::test::TempDir;

namespace {

const std::string kHello = "\xAA";
const std::string kAck = "\x0D";
const std::string kEnd = "\x0F";
const std::string kDataError = "\x0E";
const std::string kUpdateEnd = "\xAA\xBB\xCC\xDD";

std::string fullCommodity(const std::string& name) {
    return record(
        {"0000", name, "1001", "5.00", byte(0x10), byte(0x10), "0", "7", byte(0x10), "0", "3"});
}

class Session : public ::testing::Test {
protected:
    TempDir dir;
    ScaleStore store{dir / "store"};
    std::vector<std::string> reports;

    void SetUp() override { ASSERT_TRUE(store.prepare().ok()); }

    // Sends one message and returns the answer's bytes (all chunks joined); reports are kept.
    std::string say(ScaleSession& session, const std::string& message) {
        const Answer answer = session.receive(message);
        reports.insert(reports.end(), answer.jobReports.begin(), answer.jobReports.end());
        std::string bytes;
        for (const auto& chunk : answer.chunks)
            bytes += chunk;
        return bytes;
    }
    // Runs a whole conversation and checks every answer.
    void converse(ScaleSession& session,
                  const std::vector<std::pair<std::string, std::string>>& exchange) {
        for (std::size_t i = 0; i < exchange.size(); ++i)
            ASSERT_EQ(say(session, exchange[i].first), exchange[i].second) << "message " << i + 1;
    }
    std::string file(const char* name) const { return readBytes(store.file(name)); }
    bool exists(const char* name) const { return std::filesystem::exists(store.file(name)); }
};

} // namespace

TEST_F(Session, DownloadsEveryRecordKindAndStoresItAtTheEnd) {
    struct Case {
        unsigned command;
        std::vector<std::string> records;
        const char* file;
        std::string expected; // a part of the stored file
        const char* report;
    };
    const std::vector<Case> cases = {
        {0x13,
         {fullCommodity("Apple"), fullCommodity(korvan::test::kBanana)},
         ScaleStore::kCommodities,
         "2\t香蕉\t1001\t5.00\tYes\tweight\t0\t7\tNo\t0\t3\n",
         "job commodity-download (0x13): 2 records"},
        {0x03,
         {record({"0000", korvan::test::kApple, "5.00"})},
         ScaleStore::kCommodities,
         "short format (command 0x03), 1 record\n# plu\tname\tprice\n1\t苹果\t5.00\n",
         "job commodity-download (0x03): 1 record"},
        {0x06,
         {record({"1", "40", "30"}),
          record({byte(0x81), "3", "4", byte(0x18), byte(0x80), byte(0x11), "Name"}),
          record({byte(0x80), "5", "6", "", "", "", "Hidden"})},
         ScaleStore::kLabel,
         "width\t40\n",
         "job label-download (0x06): 3 records"},
        {0x15,
         {record({"fresh"}), record({""})},
         ScaleStore::kDescriptions,
         "1\tfresh\n2\t\n",
         "job description-download (0x15): 2 records"},
        {0x02,
         {"Korvan\r\nShop\r\n"},
         ScaleStore::kStoreName,
         "Korvan\\r\\nShop\n",
         "job store-name-download (0x02): 1 record"},
        {0x04,
         {record({"555-0100"})},
         ScaleStore::kShopPhone,
         "555-0100\n",
         "job shop-phone-download (0x04): 1 record"},
        {0x05,
         {record({"1 Main St\x0C"
                  "x"})},
         ScaleStore::kStoreAddress,
         "1 Main St\\fx\n",
         "job store-address-download (0x05): 1 record"},
        {0x01,
         {record({"2670301000005"})},
         ScaleStore::kClock,
         "time\t2026-03-01 00:00:05\n",
         "job date-time-download (0x01): 1 record"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report);
        ScaleSession session(store, {});
        reports.clear();
        ASSERT_EQ(say(session, kHello), kHello);
        ASSERT_EQ(say(session, byte(c.command)), kAck);
        for (const auto& r : c.records) {
            ASSERT_EQ(say(session, r), kAck);
            EXPECT_TRUE(session.inJob());
        }
        // Nothing is stored before the end byte.
        if (c.command != 0x03) {
            EXPECT_FALSE(exists(c.file));
        }
        ASSERT_EQ(say(session, kEnd), kEnd);
        EXPECT_FALSE(session.inJob());
        EXPECT_NE(file(c.file).find(c.expected), std::string::npos) << file(c.file);
        EXPECT_EQ(reports, std::vector<std::string>{c.report});
    }
    EXPECT_NE(file(ScaleStore::kLabel).find("1\t0x80\thidden\ttext\t5\t6\t9*17\t\t\tHidden\n"),
              std::string::npos);
}

TEST_F(Session, AcknowledgesWithParenthesisWhenAsked) {
    SessionOptions options;
    options.ackParen = true;
    ScaleSession session(store, options);
    converse(session, {{kHello, kHello}, {byte(0x15), ")"}, {record({"a"}), ")"}, {kEnd, kEnd}});
}

TEST_F(Session, EmptyListEndsRightAfterTheHello) {
    ScaleSession session(store, {});
    converse(session, {{kHello, kHello}, {kEnd, kEnd}});
    EXPECT_EQ(reports, std::vector<std::string>{"job ended before a command"});
    EXPECT_FALSE(exists(ScaleStore::kCommodities));
    // An empty update file sends the end marker without a command: nothing to flash.
    converse(session, {{kHello, kHello}, {kUpdateEnd, kEnd}});
    EXPECT_EQ(reports.back(), "job program-update: no blocks, image kept");
    EXPECT_FALSE(exists(ScaleStore::kImage));
}

TEST_F(Session, RefusedRecordsEndTheJobAndKeepTheOldData) {
    ScaleSession session(store, {});
    converse(session,
             {{kHello, kHello}, {byte(0x15), kAck}, {record({"old"}), kAck}, {kEnd, kEnd}});
    const std::string before = file(ScaleStore::kDescriptions);

    const std::vector<std::pair<unsigned, std::string>> bad = {
        {0x15, "no record end"},        {0x13, record({"0000", "short", "1"})},
        {0x06, record({"1", "40"})},    {0x01, record({"26703010000"})},
        {0x13, std::string(1, '\x0D')}, // a lone byte where a record belongs
    };
    for (const auto& [command, message] : bad) {
        reports.clear();
        converse(session, {{kHello, kHello}, {byte(command), kAck}, {message, kDataError}});
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_NE(reports[0].find("data error at message 3"), std::string::npos) << reports[0];
        // The job is over: a late end byte is not answered.
        EXPECT_EQ(say(session, kEnd), "");
    }
    EXPECT_EQ(file(ScaleStore::kDescriptions), before);

    // A one-record job refuses a second record and an end byte without any record.
    converse(
        session,
        {{kHello, kHello}, {byte(0x02), kAck}, {record({"a"}), kAck}, {record({"b"}), kDataError}});
    converse(session, {{kHello, kHello}, {byte(0x04), kAck}, {kEnd, kDataError}});
    EXPECT_FALSE(exists(ScaleStore::kStoreName));
    EXPECT_FALSE(exists(ScaleStore::kShopPhone));

    // Unknown command bytes and longer texts in place of a command.
    converse(session, {{kHello, kHello}, {byte(0x42), kDataError}});
    EXPECT_NE(reports.back().find("unknown command 0x42"), std::string::npos) << reports.back();
    converse(session, {{kHello, kHello}, {"\x13\x13", kDataError}});
}

TEST_F(Session, ServesSalesRecordsOneLinePerRequest) {
    const auto records = SalesRecords::generate(3);
    ASSERT_TRUE(store.replaceSales(records).ok());
    ScaleSession session(store, {});
    converse(session, {{kHello, kHello}, {byte(0x08), kAck}});
    for (const auto& r : records)
        ASSERT_EQ(say(session, kAck), SalesRecords::wireLine(r));
    converse(session, {{kAck, kEnd}});
    EXPECT_EQ(reports, std::vector<std::string>{"job read-records: 3 records served"});
    // Reading does not remove anything.
    EXPECT_EQ(store.sales()->size(), 3u);

    // The PC may stop early with the end byte (its step limit).
    converse(session, {{kHello, kHello}, {byte(0x08), kAck}});
    say(session, kAck);
    converse(session, {{kEnd, kEnd}});
    EXPECT_EQ(reports.back(), "job read-records: 1 record served");

    // Anything but a request or the end byte is a data error.
    converse(session, {{kHello, kHello}, {byte(0x08), kAck}, {"\x0D\x0D", kDataError}});

    ASSERT_TRUE(store.replaceSales({}).ok());
    converse(session, {{kHello, kHello}, {byte(0x08), kAck}, {kAck, kEnd}});
    EXPECT_EQ(reports.back(), "job read-records: 0 records served");
}

TEST_F(Session, SplitsEachLineIntoPieces) {
    const std::vector<SalesRecord> records = {{"2026-03-01 08:00:00", "n", "1", "2", "2"},
                                              {"t", "", "", "", ""}};
    ASSERT_TRUE(store.replaceSales(records).ok());
    SessionOptions options;
    options.splitLines = 3;
    ScaleSession session(store, options);
    converse(session, {{kHello, kHello}, {byte(0x08), kAck}});
    for (const auto& r : records) {
        const Answer answer = session.receive(kAck);
        const std::string line = SalesRecords::wireLine(r);
        ASSERT_EQ(answer.chunks.size(), 3u);
        EXPECT_EQ(answer.chunks[0] + answer.chunks[1] + answer.chunks[2], line);
        // The line feed arrives only with the last piece.
        EXPECT_EQ(answer.chunks[0].find('\n'), std::string::npos);
        EXPECT_EQ(answer.chunks[1].find('\n'), std::string::npos);
        for (const auto& chunk : answer.chunks)
            EXPECT_FALSE(chunk.empty());
    }
    // Single-byte answers stay single bytes.
    EXPECT_EQ(session.receive(kAck).chunks, std::vector<std::string>{kEnd});
}

TEST_F(Session, ClearForgetsTheRecordsButNotAReadInProgress) {
    ASSERT_TRUE(store.replaceSales(SalesRecords::generate(3)).ok());
    ScaleSession reader(store, {});
    ScaleSession clearer(store, {});
    converse(reader, {{kHello, kHello}, {byte(0x08), kAck}});
    EXPECT_FALSE(say(reader, kAck).empty());

    converse(clearer, {{kHello, kHello}, {byte(0x18), kAck}, {kEnd, kEnd}});
    EXPECT_EQ(reports.back(), "job clear-records: 3 records cleared");
    EXPECT_TRUE(store.sales()->empty());
    EXPECT_EQ(file(ScaleStore::kSales).find("\n2026"), std::string::npos);
    ScaleStore reloaded(store.folder());
    const IoResult loaded = reloaded.loadSales();
    ASSERT_TRUE(loaded) << loaded.why();
    EXPECT_TRUE(reloaded.sales()->empty());

    // The reader goes on with the list it started with.
    EXPECT_FALSE(say(reader, kAck).empty());
    EXPECT_FALSE(say(reader, kAck).empty());
    EXPECT_EQ(say(reader, kAck), kEnd);

    // A clear job takes nothing but the end byte.
    converse(clearer, {{kHello, kHello}, {byte(0x18), kAck}, {kAck, kDataError}});
}

TEST_F(Session, ProgramUpdateRestartsFirstThenTakesBlocks) {
    ScaleSession session(store, {});
    converse(session, {{kHello, kHello}, {byte(0x28), "("}});
    EXPECT_FALSE(session.inJob());
    EXPECT_TRUE(reports.empty()); // the PC goes on with the same update after finding the scale
    std::string block1(64, '\x11');
    std::string block2(64, '\0');
    block2[0] = '\x22'; // a last block zero-filled behind the file's end
    converse(session, {{kHello, kHello}, {byte(0x28), kAck}});
    EXPECT_TRUE(session.expectsBlock());
    converse(session, {{block1, kAck}, {block2, kAck}, {kUpdateEnd, kEnd}});
    EXPECT_FALSE(session.expectsBlock());
    EXPECT_EQ(reports, std::vector<std::string>{"job program-update: 2 blocks, 128 bytes"});
    EXPECT_EQ(file(ScaleStore::kImage), block1 + block2);

    // The next update restarts again; a report padded with zeros ends it as well.
    converse(session, {{kHello, kHello},
                       {byte(0x28), "("},
                       {kHello, kHello},
                       {byte(0x28), kAck},
                       {block2, kAck},
                       {kUpdateEnd + std::string(60, '\0'), kEnd}});
    EXPECT_EQ(file(ScaleStore::kImage), block2);

    // Blocks are 64 bytes; anything else is refused and the stored image stays.
    converse(session, {{kHello, kHello},
                       {byte(0x28), "("},
                       {kHello, kHello},
                       {byte(0x28), kAck},
                       {std::string(63, 'x'), kDataError}});
    EXPECT_EQ(file(ScaleStore::kImage), block2);
}

TEST_F(Session, BusyRefusesEveryHello) {
    SessionOptions options;
    options.busy = true;
    ScaleSession session(store, options);
    converse(session, {{kHello, "\x0B"}, {byte(0x13), ""}, {kHello, "\x0B"}});
    EXPECT_EQ(reports, (std::vector<std::string>{"job busy", "job busy"}));
    EXPECT_EQ(session.probe("\xA5").chunks, std::vector<std::string>{"\x0B"});
}

TEST_F(Session, DataErrorAtTheChosenMessage) {
    SessionOptions options;
    options.dataErrorAt = 3;
    ScaleSession session(store, options);
    converse(session,
             {{kHello, kHello}, {byte(0x15), kAck}, {record({"a"}), kDataError}, {kEnd, ""}});
    EXPECT_EQ(reports, std::vector<std::string>{
                           "job description-download (0x15): data error at message 3 (injected)"});
    EXPECT_FALSE(exists(ScaleStore::kDescriptions));
    // Counted per job: the next job fails at its third message again.
    converse(session, {{kHello, kHello}, {byte(0x18), kAck}, {kEnd, kDataError}});

    options.dataErrorAt = 1;
    ScaleSession atHello(store, options);
    converse(atHello, {{kHello, kDataError}});
    EXPECT_EQ(reports.back(), "job data error at message 1 (injected)");
}

TEST_F(Session, SilentAfterTheChosenMessageUntilTheNextHello) {
    SessionOptions options;
    options.silentAfter = 2;
    ScaleSession session(store, options);
    converse(session, {{kHello, kHello}, {byte(0x15), kAck}, {record({"a"}), ""}});
    EXPECT_EQ(reports,
              std::vector<std::string>{"job description-download (0x15): silent after message 2"});
    converse(session, {{record({"b"}), ""}, {kEnd, ""}});
    EXPECT_EQ(reports.size(), 1u);
    EXPECT_FALSE(exists(ScaleStore::kDescriptions));
    // The next hello forgets the silent job and starts a new one.
    converse(session, {{kHello, kHello}, {byte(0x15), kAck}, {record({"c"}), ""}});
    EXPECT_EQ(reports.size(), 2u);

    options.silentAfter = 0;
    ScaleSession mute(store, options);
    converse(mute, {{kHello, ""}, {kHello, ""}});
}

TEST_F(Session, DelayComesWithEveryAnswer) {
    SessionOptions options;
    options.delay = std::chrono::milliseconds(250);
    ScaleSession session(store, options);
    EXPECT_EQ(session.receive(kHello).delay, std::chrono::milliseconds(250));
    EXPECT_EQ(session.receive(byte(0x18)).delay, std::chrono::milliseconds(250));
    EXPECT_EQ(session.receive(kEnd).delay, std::chrono::milliseconds(250));
    EXPECT_EQ(session.probe("\xA5").delay, std::chrono::milliseconds(250));
}

TEST_F(Session, NewHelloAbandonsARunningJob) {
    ScaleSession session(store, {});
    converse(session, {{kHello, kHello},
                       {byte(0x15), kAck},
                       {record({"a"}), kAck},
                       {kHello, kHello},
                       {byte(0x15), kAck},
                       {kEnd, kEnd}});
    EXPECT_EQ(reports, (std::vector<std::string>{
                           "job description-download (0x15): abandoned after message 3",
                           "job description-download (0x15): 0 records"}));
    EXPECT_NE(file(ScaleStore::kDescriptions).find("0 records"), std::string::npos);
}

TEST_F(Session, OutsideAJobOnlyTheProbeIsAnswered) {
    ScaleSession plain(store, {});
    EXPECT_TRUE(plain.receive("\xA5").silent()); // UDP answers probes on their own port
    EXPECT_TRUE(plain.receive(kEnd).silent());
    EXPECT_TRUE(plain.receive("").silent());
    EXPECT_FALSE(plain.receive(kAck).note.empty());
    EXPECT_EQ(plain.probe("\xA5").chunks, std::vector<std::string>{"\xA5"});
    EXPECT_TRUE(plain.probe("\xA5\xA5").silent());

    SessionOptions options;
    options.inlineProbe = true;
    ScaleSession serial(store, options);
    EXPECT_EQ(serial.receive("\xA5").chunks, std::vector<std::string>{"\xA5"});
}

TEST_F(Session, AFailedSaveIsNotReportedAsSuccess) {
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    std::filesystem::permissions(store.folder(), std::filesystem::perms(0555));
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        ScaleSession session(store, {});
        for (const std::string& m : {kHello, byte(0x15), record({"a"})})
            if (session.receive(m).silent())
                return false;
        const Answer end = session.receive(kEnd);
        return end.chunks == std::vector<std::string>{kDataError} && end.jobReports.size() == 1 &&
               end.jobReports[0].find("cannot store") != std::string::npos;
    }));
}

TEST_F(Session, SurvivesRandomInput) {
    // Random messages, biased towards the protocol's own bytes so that every phase is reached.
    ASSERT_TRUE(store.replaceSales(SalesRecords::generate(5)).ok());
    std::mt19937 random(12345);
    using namespace std::string_literals;
    const std::string alphabet = "\xAA\x0D\x0F\x0C\x0A\x10\x11\x28\x13\x03\x06\x08\x18\x15\x01"
                                 "\x02\x04\x05\x80\x81\xBB\xCC\xDD\x00"
                                 "0123456789"s;
    const std::vector<std::string> allowed = {"\xAA", "\x0D", "\x0E", "\x0F", "("};
    ScaleSession session(store, {});
    for (int i = 0; i < 20000; ++i) {
        std::string message;
        const int length = random() % 5 == 0 ? int(random() % 80) : 1 + int(random() % 2);
        for (int k = 0; k < length; ++k)
            message += alphabet[random() % alphabet.size()];
        if (random() % 7 == 0)
            message += "\r\n";
        if (random() % 50 == 0)
            message = std::string(64, char(random()));
        const Answer answer = session.receive(message);
        for (const auto& chunk : answer.chunks) {
            const bool single = std::find(allowed.begin(), allowed.end(), chunk) != allowed.end();
            const bool salesLine = chunk.size() > 2 && chunk.ends_with("\r\n");
            ASSERT_TRUE(single || salesLine) << ReadableText::hex(chunk);
        }
    }
}
