#include "support/TempDir.h"
#include "users/UserFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;

TEST(UserFile, LinesSplitAtTheFirstFormFeed) {
    EXPECT_EQ(UserFile::parseLine("anna\f123"), (User{"anna", "123"}));
    EXPECT_EQ(UserFile::parseLine("anna\f1\f2"), (User{"anna", "1\f2"}));
    EXPECT_EQ(UserFile::parseLine("nofeed"), (User{"", "nofeed"}));
    EXPECT_EQ(UserFile::parseLine("\f"), (User{"", ""}));
    EXPECT_EQ(UserFile::parseLine(""), (User{"", ""}));
}

TEST(UserFile, WritesByteExactOwnerOnly) {
    TempDir dir;
    auto file = dir / "record/yh.rec";
    ASSERT_TRUE(UserFile::write(file, {{"\xD5\xC5\xC8\xFD", "1"}, {"bob", ""}}).ok());
    EXPECT_EQ(readBytes(file), "\xD5\xC5\xC8\xFD\f1\r\nbob\f\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(UserFile::read(file).value,
              (std::vector<User>{{"\xD5\xC5\xC8\xFD", "1"}, {"bob", ""}}));
    ASSERT_TRUE(UserFile::write(file, {}).ok());
    EXPECT_EQ(readBytes(file), "");
}
