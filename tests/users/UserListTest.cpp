#include "common/Prompt.h"
#include "support/TempDir.h"
#include "users/UserList.h"

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
    EXPECT_FALSE(list.add("", ""));
    EXPECT_EQ(prompt.last(), "No more than 5 users");
    list.remove({4});
    EXPECT_FALSE(list.add("", "x"));
    EXPECT_EQ(prompt.last(), "User name cannot be empty");
    EXPECT_TRUE(list.add("new", ""));
    EXPECT_EQ(list.rows().back(), (User{"new", ""}));
    EXPECT_EQ(prompt.shown().size(), 2u);
}

TEST_F(UserListTest, ChineseMessagesAndLongFile) {
    auto list = open("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n", Lang::Chinese);
    EXPECT_EQ(list.rows().size(), 7u);
    EXPECT_FALSE(list.add("x", "y"));
    EXPECT_EQ(prompt.last(), "用户数量不能超过5个");
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

TEST_F(UserListTest, DeleteKeepsTheIndexAndEditsFollowIt) {
    auto list = open("a\f1\r\nb\f2\r\nc\f3\r\n");
    list.click({2});
    list.remove({0, 2});
    EXPECT_EQ(list.rows(), (std::vector<User>{{"b", "2"}}));
    EXPECT_TRUE(list.hasChosen());
    EXPECT_EQ(list.chosen(), nullptr); // index 2 no longer stands
    list.editName("zzz");              // changes nothing, crashes nothing
    EXPECT_EQ(list.rows(), (std::vector<User>{{"b", "2"}}));
}

TEST_F(UserListTest, ClickOnEmptyListClearsTheChosenRow) {
    auto list = open("a\f1\r\n");
    list.click({0});
    list.remove({0});
    list.click({});
    EXPECT_FALSE(list.hasChosen());
    EXPECT_EQ(list.chosenIndex(), 0u);
}

TEST_F(UserListTest, SaveWritesEveryRowAndAnEmptyList) {
    auto list = open("a\f1\r\n");
    ASSERT_TRUE(list.add("b", ""));
    ASSERT_TRUE(list.save());
    EXPECT_EQ(readBytes(file()), "a\f1\r\nb\f\r\n");
    EXPECT_EQ(prompt.last(), "Save completed");
    list.remove({0, 1});
    ASSERT_TRUE(list.save());
    EXPECT_EQ(readBytes(file()), "");
    EXPECT_EQ(prompt.last(), "Save completed");
}

TEST_F(UserListTest, FailedSaveSaysSoAndKeepsTheRows) {
    std::filesystem::create_directories(file()); // a folder where the file should be
    UserList list(file(), Lang::English);
    ASSERT_TRUE(list.add("a", "1"));
    EXPECT_FALSE(list.save());
    EXPECT_EQ(prompt.last().rfind("Not a regular file", 0), 0u);
    EXPECT_EQ(list.rows().size(), 1u);
}
