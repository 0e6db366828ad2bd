#include "records/SalesRecordFile.h"

#include "support/TempDir.h"
#include "support/Together.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

namespace {

SalesRecord sale(const std::string& name) {
    SalesRecord r;
    r.fields = {"2026-12-07 10:00", name, "1.250", "5.00", "6.25"};
    return r;
}

const std::string kAppleLine = "2026-12-07 10:00\fApple\f1.250\f5.00\f6.25\r\n";
const std::string kPearLine = "2026-12-07 10:00\fPear\f1.250\f5.00\f6.25\r\n";

} // namespace

TEST(SalesRecordFile, RecordsGoAfterTheLastLineEvenWithoutItsLineEnd) {
    TempDir dir;
    const auto file = dir / "record/dzcjl.rec";
    struct Case {
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"", kAppleLine + kPearLine},
        {"old\r\n", "old\r\n" + kAppleLine + kPearLine},
        {"old\n", "old\n" + kAppleLine + kPearLine},
        {"old", "old\r\n" + kAppleLine + kPearLine}, // a hand-edited last line keeps its own line
    };
    for (const Case& c : cases) {
        writeBytes(file, c.before);
        EXPECT_TRUE(SalesRecordFile::append(file, {sale("Apple"), sale("Pear")}).result.ok());
        EXPECT_EQ(readBytes(file), c.after) << c.before;
    }
    // A missing file and folder are created; no records leave a file as it is.
    EXPECT_TRUE(SalesRecordFile::append(dir / "new/dzcjl.rec", {sale("Apple")}).result.ok());
    EXPECT_EQ(readBytes(dir / "new/dzcjl.rec"), kAppleLine);
    writeBytes(file, "old");
    EXPECT_TRUE(SalesRecordFile::append(file, {}).result.ok());
    EXPECT_EQ(readBytes(file), "old");
}

TEST(SalesRecordFile, AFileThatCannotBeReadIsRefusedAndLeftAsItWas) {
    TempDir dir;
    const auto file = dir / "record/dzcjl.rec";
    writeBytes(file, kAppleLine);
    ::chmod(dir.path().c_str(), 0777);
    ::chmod((dir / "record").c_str(), 0777);
    ::chmod(file.c_str(), 0200); // may be written, not read: a blind rewrite would lose the line
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        const IoResult result = SalesRecordFile::append(file, {sale("Pear")}).result;
        return !result.ok() && result.path == file;
    }));
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0200u);
    ::chmod(file.c_str(), 0644);
    EXPECT_EQ(readBytes(file), kAppleLine);
}

TEST(SalesRecordFile, ASaleAlreadyStoredOrEarlierInTheBatchIsNotWrittenTwice) {
    TempDir dir;
    const auto file = dir / "record/dzcjl.rec";
    struct Case {
        const char* what;
        std::string before;
        std::vector<SalesRecord> read;
        std::size_t added, alreadyThere;
        std::string after;
    };
    SalesRecord shortLine;
    shortLine.fields = {"t", "n", "", "", ""};
    SalesRecord laterSecond = sale("Apple");
    laterSecond.fields[0] = "2026-12-07 10:00:01";
    const Case cases[] = {
        {"in the file", kAppleLine, {sale("Apple"), sale("Pear")}, 1, 1, kAppleLine + kPearLine},
        {"earlier in the batch", "", {sale("Pear"), sale("Pear")}, 1, 1, kPearLine},
        {"a line that lacks its last fields", "t\fn\r\n", {shortLine}, 0, 1, "t\fn\r\n"},
        {"another second is another sale",
         kAppleLine,
         {laterSecond},
         1,
         0,
         kAppleLine + "2026-12-07 10:00:01\fApple\f1.250\f5.00\f6.25\r\n"},
    };
    for (const Case& c : cases) {
        writeBytes(file, c.before);
        const SalesRecordFile::Appended appended = SalesRecordFile::append(file, c.read);
        EXPECT_TRUE(appended.result.ok()) << c.what;
        EXPECT_EQ(appended.added, c.added) << c.what;
        EXPECT_EQ(appended.alreadyThere, c.alreadyThere) << c.what;
        EXPECT_EQ(readBytes(file), c.after) << c.what;
    }
}

TEST(SalesRecordFile, TwoProgramsAppendingAtOnceKeepEveryLine) {
    constexpr int kRuns = 20;
    constexpr int kBatches = 40;
    for (int run = 0; run < kRuns; ++run) {
        TempDir dir;
        const auto file = dir / "record/dzcjl.rec";
        auto appender = [&](const std::string& who) {
            return [&, who] {
                for (int i = 0; i < kBatches; ++i)
                    if (!SalesRecordFile::append(file, {sale(who + std::to_string(i))}).result)
                        return 1;
                return 0;
            };
        };
        const auto [first, second] = test::runTogether(appender("a"), appender("b"));
        ASSERT_EQ(first, 0);
        ASSERT_EQ(second, 0);
        const auto lines = RecordFile::readLines(file).value;
        ASSERT_EQ(lines.size(), 2u * kBatches) << "run " << run;
    }
}
