#include "common/RecordFile.h"
#include "common/Language.h"
#include "common/ScratchFiles.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>
#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

TEST(RecordFileRead, LineEndsAndEmptyLines) {
    TempDir dir;
    writeBytes(dir / "a.rec", "one\r\ntwo\n\r\n\nlast");
    EXPECT_EQ(RecordFile::readLines(dir / "a.rec").value,
              (std::vector<std::string>{"one", "two", "", "", "last"}));
    // A file ending in a line end adds no empty line; a lone CR ends a line too (files from
    // tools that end lines so), and CR CR LF is a line and an empty one.
    writeBytes(dir / "b.rec", "a\rb\r\n\r\n");
    EXPECT_EQ(RecordFile::readLines(dir / "b.rec").value, (std::vector<std::string>{"a", "b", ""}));
    writeBytes(dir / "c.rec", "one\rtwo\rthree\r\r\n");
    EXPECT_EQ(RecordFile::readLines(dir / "c.rec").value,
              (std::vector<std::string>{"one", "two", "three", ""}));
}

TEST(RecordFileRead, MissingFileIsEmptyAndOk) {
    TempDir dir;
    const auto read = RecordFile::readLines(dir / "none.rec");
    EXPECT_TRUE(read.value.empty());
    EXPECT_TRUE(read.ok());
}

TEST(RecordFileRead, UnreadableFileReportsTheError) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    writeBytes(dir / "locked.rec", "x\r\n");
    ::chmod((dir / "locked.rec").c_str(), 0);
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        const auto read = RecordFile::readLines(dir / "locked.rec");
        return read.value.empty() && !read.ok() && read.result.error == EACCES;
    }));
}

TEST(RecordFileRead, VeryLongLine) {
    TempDir dir;
    std::string longLine(300000, 'x');
    writeBytes(dir / "long.rec", longLine + "\r\nshort\r\n");
    auto lines = RecordFile::readLines(dir / "long.rec").value;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], longLine);
}

TEST(RecordFileFields, LastFieldRunsToTheEnd) {
    EXPECT_EQ(RecordFile::splitFields("a\fb\fc\fd", 3),
              (std::vector<std::string>{"a", "b", "c\fd"}));
    EXPECT_EQ(RecordFile::splitFields("a", 3), (std::vector<std::string>{"a", "", ""}));
    EXPECT_EQ(RecordFile::splitFields("", 2), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(RecordFile::splitFields("\f", 2), (std::vector<std::string>{"", ""}));
    EXPECT_EQ(RecordFile::joinFields({"a", "", "c\fd"}), "a\f\fc\fd");
}

TEST(RecordFileWrite, CrLfAndByteExactRoundTrip) {
    TempDir dir;
    // Bytes that are not valid GBK pass through untouched: the file layer never converts.
    const std::string raw = "\xC9\xCC\xC6\xB7\f\x80\xFF\x81\f12\r\n\r\nx\r\n";
    writeBytes(dir / "sp.rec", raw);
    auto lines = RecordFile::readLines(dir / "sp.rec").value;
    ASSERT_TRUE(RecordFile::writeLines(dir / "copy.rec", lines).ok());
    EXPECT_EQ(readBytes(dir / "copy.rec"), raw);

    ASSERT_TRUE(RecordFile::writeLines(dir / "empty.rec", {}).ok());
    EXPECT_EQ(readBytes(dir / "empty.rec"), "");
}

TEST(RecordFileWrite, CreatesMissingFolderAndSetsMode) {
    TempDir dir;
    auto file = dir / "record/yh.rec";
    ASSERT_TRUE(RecordFile::writeLines(file, {"a\fb"}, std::filesystem::perms(0600)).ok());
    EXPECT_EQ(readBytes(file), "a\fb\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(RecordFileWrite, FailedWriteKeepsTheOldFileAndSaysWhy) {
    TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    auto folder = dir / "record";
    writeBytes(folder / "sp.rec", "old\r\n");
    ::chmod((folder / "sp.rec").c_str(), 0666);
    ::chmod(folder.c_str(), 0555);
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        IoResult result = RecordFile::writeLines(folder / "sp.rec", {"new"});
        Language::setFlag(kEnglish);
        // The message names the folder that refused the temporary file.
        return !result.ok() &&
               result.message() ==
                   "Cannot write a file in the folder: " + folder.string() + " (permission denied)";
    }));
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(readBytes(folder / "sp.rec"), "old\r\n");
}

TEST(RecordFileWrite, TargetThatIsAFolderFailsCleanly) {
    // Works for root too: rename cannot put a file over a folder.
    TempDir dir;
    std::filesystem::create_directories(dir / "record/sp.rec");
    IoResult result = RecordFile::writeLines(dir / "record/sp.rec", {"x"});
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "record/sp.rec"));
    // No temporary file is left behind: the folder and the data folder's lock file remain.
    std::size_t entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir / "record"))
        ++entries;
    EXPECT_EQ(entries, 2u);
    Language::setFlag(kChinese);
    EXPECT_EQ(result.message().rfind("不是普通文件", 0), 0u);
}

TEST(RecordFileWrite, ReplacedFileKeepsModeOwnerAndLink) {
    TempDir dir;
    const auto file = dir / "record/yh.rec";
    writeBytes(file, "old\r\n");
    ::chmod(file.c_str(), 0640);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    }
    // The mode given is for a new file only.
    ASSERT_TRUE(RecordFile::writeLines(file, {"new"}, std::filesystem::perms(0600)).ok());
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 65534u);
    }

    // A record file kept elsewhere through a symbolic link: the link stays, its target changes.
    const auto elsewhere = dir / "shared/sp.rec";
    writeBytes(elsewhere, "a\r\n");
    std::filesystem::create_symlink("../shared/sp.rec", dir / "record/sp.rec");
    ASSERT_TRUE(RecordFile::writeLines(dir / "record/sp.rec", {"b"}).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "record/sp.rec"));
    EXPECT_EQ(readBytes(elsewhere), "b\r\n");
    // A link to a file that does not exist yet stays a link, through a chain of two; the file it
    // names is made.
    std::filesystem::create_symlink("../shared/link", dir / "record/dzcjl.rec");
    std::filesystem::create_symlink("dzcjl.rec", dir / "shared/link");
    ASSERT_TRUE(RecordFile::writeLines(dir / "record/dzcjl.rec", {"c"}).ok());
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "record/dzcjl.rec"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "shared/link"));
    EXPECT_EQ(readBytes(dir / "shared/dzcjl.rec"), "c\r\n");
    // No temporary file is left in either folder (record/ also holds the data folder's lock).
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "shared"), {}), 3);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "record"), {}), 4);
}

TEST(RecordFileRead, NamedPipeIsRefusedWithoutBlocking) {
    TempDir dir;
    const auto fifo = dir / "record/sp.rec";
    std::filesystem::create_directories(fifo.parent_path());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    // Opening a pipe with no writer would wait for ever; it is refused at once instead.
    const auto read = RecordFile::readLines(fifo);
    EXPECT_FALSE(read.ok());
    EXPECT_EQ(read.result.failure, IoResult::Failure::NotRegular);
    Language::setFlag(kEnglish);
    EXPECT_EQ(read.result.message(), "Not a regular file, it cannot be used: " + fifo.string());
    // Nor is it written over: a save would replace the pipe by a file.
    EXPECT_FALSE(RecordFile::writeLines(fifo, {"x"}).ok());
    EXPECT_EQ(std::filesystem::status(fifo).type(), std::filesystem::file_type::fifo);
}

TEST(ScratchFiles, AProgramToldToStopRemovesWhatItWasWriting) {
    TempDir dir;
    const auto scratch = dir / ".out.xlsx.abc123";
    const auto kept = dir / ".done.rec.abc123";
    writeBytes(scratch, "half a workbook");
    writeBytes(kept, "in place already");
    const pid_t child = ::fork();
    if (child == 0) {
        ScratchFiles::add(scratch.string());
        ScratchFiles::add(kept.string());
        ScratchFiles::remove(kept.string());
        ScratchFiles::removeOnSignals();
        ::raise(SIGTERM);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM); // ended as the signal does
    EXPECT_FALSE(std::filesystem::exists(scratch));
    EXPECT_TRUE(std::filesystem::exists(kept));
}
