#include "common/TrackedFile.h"
#include "common/Prompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

TEST(TrackedFile, ASaveOverAnotherProgramsWriteAsksFirst) {
    const struct {
        const char* what;
        bool otherWrites;
        std::size_t answer; // Reload, Overwrite, Cancel
        bool asked, written, reload;
        std::string after;
    } cases[] = {
        {"nobody else wrote", false, 2, false, true, false, "mine\r\n"},
        {"reload", true, 0, true, false, true, "theirs\r\n"},
        {"overwrite", true, 1, true, true, false, "mine\r\n"},
        {"cancel", true, 2, true, false, false, "theirs\r\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const auto path = dir / "record/sp.rec";
        writeBytes(path, "first\r\n");
        TrackedFile file(path);
        ASSERT_TRUE(file.readLines().ok());
        if (c.otherWrites) {
            ASSERT_TRUE(RecordFile::writeLines(path, {"theirs"}).ok());
        }
        Prompt::Script prompts;
        prompts.choose(c.answer);
        const TrackedFile::Saved saved = file.saveLines({"mine"}, Lang::English);
        EXPECT_EQ(prompts.shown().size(), c.asked ? 1u : 0u) << c.what;
        EXPECT_TRUE(saved.result.ok()) << c.what;
        EXPECT_EQ(saved.written, c.written) << c.what;
        EXPECT_EQ(saved.reload, c.reload) << c.what;
        EXPECT_EQ(readBytes(path), c.after) << c.what;
        // After its own write the file is this screen's again: the next save asks nothing.
        if (c.written) {
            prompts.clear();
            EXPECT_TRUE(file.saveLines({"again"}, Lang::English).written) << c.what;
            EXPECT_TRUE(prompts.shown().empty()) << c.what;
        }
    }
}
