#include "common/Prompt.h"
#include "support/TempDir.h"
#include "support/Unprivileged.h"
#include "users/UserList.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

namespace {
struct UserListTest : ::testing::Test {
    TempDir dir;
    Prompt::Script prompt;
    std::filesystem::path file() const { return dir / "record/yh.rec"; }
    UserList open(const std::string& bytes, Lang lang = Lang::English) {
        writeBytes(file(), bytes);
        return UserList(file(), lang);
    }
};
} // namespace

TEST_F(UserListTest, AddRulesAndTheirOrder) {
    auto list = open("a\f1\r\nb\f2\r\nc\f3\r\nd\f4\r\ne\f5\r\n");
    // Five users: the limit wins even over an empty name.
    EXPECT_EQ(list.add("", "").message(), "No more than 5 users");
    list.remove({4});
    EXPECT_EQ(list.add("", "x").message(), "User name cannot be empty");
    EXPECT_TRUE(list.add("new", ""));
    EXPECT_EQ(list.rows().back(), (User{"new", ""}));
}

TEST_F(UserListTest, ChineseMessagesAndLongFile) {
    auto list = open("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n", Lang::Chinese);
    EXPECT_EQ(list.rows().size(), 7u);
    EXPECT_EQ(list.add("x", "y").message(), "用户数量不能超过5个");
}

TEST_F(UserListTest, EditsGoIntoTheChosenRowOnly) {
    auto list = open("a\f1\r\nb\f2\r\nc\f3\r\n");
    list.editName("ignored"); // no chosen row yet
    EXPECT_EQ(list.rows()[0].name, "a");
    list.click({2, 1}); // the lowest-numbered selected row wins
    EXPECT_EQ(list.chosenIndex(), 1u);
    list.editPassword("9");
    list.editPassword("98");
    list.editName("bee");
    EXPECT_EQ(list.rows()[1], (User{"bee", "98"}));
    // Add after a click appends a new row; the chosen row already holds the same texts.
    EXPECT_TRUE(list.add("bee", "98"));
    EXPECT_EQ(list.rows()[3], list.rows()[1]);
    EXPECT_EQ(list.chosenIndex(), 1u);
}

TEST_F(UserListTest, DeleteAndClicksOnNothingLeaveNoChosenRow) {
    auto list = open("a\f1\r\nb\f2\r\nc\f3\r\n");
    list.click({0});
    // Deleting another row still ends the choice: rows shift, and typing must not rename
    // whoever moved into the chosen index.
    list.remove({0, 2});
    EXPECT_EQ(list.rows(), (std::vector<User>{{"b", "2"}}));
    EXPECT_FALSE(list.hasChosen());
    EXPECT_EQ(list.chosen(), nullptr);
    list.editName("zzz");
    list.editPassword("9");
    EXPECT_EQ(list.rows(), (std::vector<User>{{"b", "2"}}));
    // A click that selects nothing (the empty area under the rows) ends the choice as well.
    list.click({0});
    EXPECT_TRUE(list.hasChosen());
    list.click({});
    EXPECT_FALSE(list.hasChosen());
    list.remove({});
    list.click({0});
    list.remove({}); // nothing selected, nothing deleted: the choice stays
    EXPECT_TRUE(list.hasChosen());
}

TEST_F(UserListTest, SaveWritesEveryRowAndAsksBeforeLockingEveryoneOut) {
    auto list = open("a\f1\r\n");
    ASSERT_TRUE(list.add("b", ""));
    EXPECT_EQ(list.saveQuestion(), "");
    const TrackedFile::Saved saved = list.save();
    ASSERT_TRUE(saved.written);
    EXPECT_EQ(readBytes(file()), "a\f1\r\nb\f\r\n");
    EXPECT_EQ(saved.note, "Save completed");
    // Nobody left who could log in: the operator is asked first. Users without names count as
    // nobody too.
    list.remove({0, 1});
    EXPECT_EQ(list.saveQuestion().rfind("No user in the list has a name", 0), 0u);
    ASSERT_TRUE(list.add("x", "1"));
    list.click({0});
    list.editName("");
    EXPECT_NE(list.saveQuestion(), "");
    ASSERT_TRUE(list.save().written);
    EXPECT_EQ(readBytes(file()), "\f1\r\n");
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(UserListTest, AnUnreadableFileIsNeverSavedOver) {
    ::chmod(dir.path().c_str(), 0755);
    writeBytes(file(), "boss\f1\r\n");
    ::chmod(file().parent_path().c_str(), 0777);
    ::chmod(file().c_str(), 0222); // may be written, not read
    EXPECT_TRUE(test::runUnprivileged([&] {
        UserList list(file(), Lang::English);
        if (list.openResult().ok() || !list.rows().empty() || !list.add("me", "1"))
            return false;
        const TrackedFile::Saved saved = list.save();
        const std::string message = saved.result.message();
        return !saved.written && list.saveQuestion().empty() &&
               message.rfind("Could not read or write the file", 0) == 0 &&
               message.find("permission denied") != std::string::npos;
    }));
    ::chmod(file().c_str(), 0600);
    EXPECT_EQ(readBytes(file()), "boss\f1\r\n");
}

TEST_F(UserListTest, StartUpNeedsAFirstUserWhenNobodyCanLogIn) {
    using UserFile::StartState;
    const struct {
        const char* bytes; // nullptr: no file
        StartState state;
    } cases[] = {
        {nullptr, StartState::NeedsFirstUser},
        {"", StartState::NeedsFirstUser},
        {"\f1\r\n\r\n", StartState::NeedsFirstUser}, // lines, but no name
        {"\f1\r\nboss\f\r\n", StartState::Ready},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(file());
        if (c.bytes)
            writeBytes(file(), c.bytes);
        EXPECT_EQ(UserFile::startState(file()).state, c.state) << (c.bytes ? c.bytes : "none");
    }
    std::filesystem::remove(file());
    std::filesystem::create_directories(file()); // exists, cannot be read as a file
    const auto start = UserFile::startState(file());
    EXPECT_EQ(start.state, StartState::Unreadable);
    EXPECT_FALSE(start.result.ok());
}
TEST_F(UserListTest, FailedSaveSaysSoAndKeepsTheRows) {
    std::filesystem::create_directories(file()); // a folder where the file should be
    UserList list(file(), Lang::English);
    ASSERT_TRUE(list.add("a", "1"));
    const TrackedFile::Saved saved = list.save();
    EXPECT_FALSE(saved.written);
    EXPECT_EQ(saved.result.message().rfind("Not a regular file", 0), 0u);
    EXPECT_EQ(list.rows().size(), 1u);
}
