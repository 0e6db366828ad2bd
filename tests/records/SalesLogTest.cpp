#include "records/SalesLog.h"

#include "common/Prompt.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

namespace {

const std::string kA = "t\fA\fw\fp\fa\r\n", kB = "t\fB\fw\fp\fa\r\n", kC = "t\fC\fw\fp\fa\r\n";

} // namespace

TEST(SalesLog, ADeletionChangesTheRecordsOnlyOnceTheFileHoldsIt) {
    // Another program appends C after the log read the file: the operator is asked.
    const struct {
        const char* what;
        std::size_t answer; // reload, overwrite, cancel
        std::string file;
        std::size_t rows;
    } cases[] = {
        {"reload: the file as it is, no deletion", 0, kA + kB + kC, 3},
        {"overwrite: the deletion over C", 1, kB, 1},
        {"cancel: nothing changes", 2, kA + kB + kC, 2},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const auto file = dir / "record/dzcjl.rec";
        writeBytes(file, kA + kB);
        SalesLog log(file);
        log.load();
        writeBytes(file, kA + kB + kC);
        Prompt::Script prompt;
        prompt.choose(c.answer);
        const TrackedFile::Saved saved = log.erase({0}, Lang::English);
        EXPECT_TRUE(saved.result.ok() && prompt.shown().size() == 1u) << c.what;
        EXPECT_EQ(readBytes(file), c.file) << c.what;
        EXPECT_EQ(log.records().size(), c.rows) << c.what;
    }
}

TEST(SalesLog, RecordsReadFromTheScaleLeaveTheLogKnowingTheFile) {
    TempDir dir;
    const auto file = dir / "record/dzcjl.rec";
    writeBytes(file, kA);
    SalesLog log(file);
    log.load();
    writeBytes(file, kA + kB); // another program's read
    // Two scales read at once: their records arrive mixed, and are stored scale by scale.
    const std::string kD = "t\fD\fw\fp\fa\r\n";
    log.receive(SalesRecord{0, {"t", "D", "w", "p", "a"}}, 1);
    log.receive(SalesRecord{0, {"t", "C", "w", "p", "a"}}, 0);
    log.receive(SalesRecord{0, {"t", "B", "w", "p", "a"}}, 1);
    EXPECT_EQ(log.records().size(), 4u); // listed as they arrive
    const SalesLog::Appended appended = log.storeReceived();
    ASSERT_TRUE(appended.result.ok());
    EXPECT_EQ(appended.added, 2u);
    EXPECT_EQ(appended.alreadyThere, 1u);
    EXPECT_EQ(log.lastRead(), 2u);
    EXPECT_EQ(log.records().fileBytes(), kA + kB + kC + kD);
    // The file as written is the one the log knows: a deletion now asks nothing.
    Prompt::Script prompt;
    ASSERT_TRUE(log.eraseAll(Lang::English).written);
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(readBytes(file), "");
}

TEST(SalesLog, AfterAFailedReadNothingIsWritten) {
    TempDir dir;
    const auto file = dir / "record/dzcjl.rec";
    writeBytes(file, kA);
    ::chmod(dir.path().c_str(), 0777);
    ::chmod((dir / "record").c_str(), 0777);
    ::chmod(file.c_str(), 0200); // may be replaced, not read: a rewrite would lose the line
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        SalesLog log(file);
        log.load();
        return !log.loadResult().ok() && log.erase({}, Lang::English).result.path == file &&
               !log.eraseAll(Lang::English).written;
    }));
    ::chmod(file.c_str(), 0644);
    EXPECT_EQ(readBytes(file), kA);
}
