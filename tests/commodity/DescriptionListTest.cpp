#include "commodity/DescriptionList.h"
#include "common/Prompt.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;
using Strings = std::vector<std::string>;

namespace {

class DescriptionListTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedFlag = Language::flag();
        Language::setFlag(kEnglish);
    }
    void TearDown() override { Language::setFlag(savedFlag); }

    DescriptionList& open(const std::string& bytes) {
        writeBytes(file(), bytes);
        list = std::make_unique<DescriptionList>(file());
        EXPECT_TRUE(list->open().ok());
        return *list;
    }
    std::filesystem::path file() const { return dir / "record/spsm.rec"; }

    TempDir dir;
    Prompt::Script prompts;
    std::unique_ptr<DescriptionList> list;
    std::string savedFlag;
};

} // namespace

TEST_F(DescriptionListTest, LinesSplitAtTheFirstFormFeedOnly) {
    const std::string bytes = "7\fFresh\r\n"
                              "12\fkeep\fcold\r\n"
                              "no separator\r\n"
                              "\r\n"
                              "3\f\xB1\xA3\xCF\xCA\x80\r\n";
    DescriptionList& l = open(bytes);
    ASSERT_EQ(l.size(), 5u);
    EXPECT_EQ(l.rows()[0], (DescriptionEntry{"7", "Fresh"}));
    EXPECT_EQ(l.rows()[0].numberColumn(), " 7");
    EXPECT_EQ(l.rows()[1].text, "keep\fcold");
    EXPECT_EQ(l.rows()[2], (DescriptionEntry{"", "no separator"}));
    EXPECT_EQ(l.rows()[3], (DescriptionEntry{"", ""}));
    EXPECT_EQ(l.numberLabel(), "0");

    l.click({0});
    l.textEdited("Fresh"); // an edit, even back to the same text
    ASSERT_EQ(l.save().note, "Save completed");
    // Lines without a separator gain a leading one; everything else comes back byte for byte.
    EXPECT_EQ(readBytes(file()), "7\fFresh\r\n"
                                 "12\fkeep\fcold\r\n"
                                 "\fno separator\r\n"
                                 "\f\r\n"
                                 "3\f\xB1\xA3\xCF\xCA\x80\r\n");
    const JobRequest request = l.downloadRequest();
    ASSERT_EQ(request.rowCount(), 5u);
    EXPECT_EQ(request.get<DescriptionPayload>()->rows[1], (DescriptionRow{"12", "keep\fcold"}));
}

TEST_F(DescriptionListTest, TypingWithoutAChosenRowGoesNowhere) {
    DescriptionList& l = open("1\fa\r\n2\fb\r\n");
    l.textEdited("typed");
    EXPECT_FALSE(l.isModified());
    EXPECT_EQ(l.rows()[0].text, "a");
    EXPECT_TRUE(l.readyForDownload());
    EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(DescriptionListTest, AnEditOfTheChosenRowNeedsASaveBeforeDownload) {
    Language::setFlag(kChinese);
    DescriptionList& l = open("1\fa\r\n2\fb\r\n3\fc\r\n");
    l.click({2, 1});
    EXPECT_EQ(l.chosenIndex(), 1u);
    EXPECT_EQ(l.numberLabel(), "2");
    EXPECT_FALSE(l.isModified()); // showing the text is not an edit
    l.textEdited("b!");
    EXPECT_EQ(l.rows()[1].text, "b!");
    EXPECT_TRUE(l.isModified());
    EXPECT_EQ(l.readyForDownload().message(), "请先保存数据");
    const TrackedFile::Saved saved = l.save();
    ASSERT_TRUE(saved.result.ok());
    EXPECT_EQ(saved.note, "保存完成");
    EXPECT_FALSE(l.isModified());
    EXPECT_TRUE(l.readyForDownload());
    EXPECT_EQ(readBytes(file()), "1\fa\r\n2\fb!\r\n3\fc\r\n");

    l.click({}); // nothing selected: the chosen row stays
    EXPECT_EQ(l.chosenIndex(), 1u);
}

TEST(DescriptionEntry, TextLimitCountsChineseCharactersTwice) {
    EXPECT_TRUE(DescriptionEntry::fitsInput("新鲜新鲜新鲜新鲜新鲜新鲜新鲜新")); // 15: 30 bytes
    EXPECT_FALSE(DescriptionEntry::fitsInput("新鲜新鲜新鲜新鲜新鲜新鲜新鲜新x"));
    EXPECT_TRUE(DescriptionEntry::fitsInput(std::string(30, 'a')));
    EXPECT_FALSE(DescriptionEntry::fitsInput(std::string(31, 'a')));
}

TEST_F(DescriptionListTest, EmptyListSavesAnEmptyFileSilently) {
    DescriptionList& l = open("");
    l.click({0});
    EXPECT_FALSE(l.hasChosen());
    EXPECT_EQ(l.save().note, "");
    EXPECT_TRUE(std::filesystem::exists(file()));
    EXPECT_EQ(std::filesystem::file_size(file()), 0u);
}

TEST_F(DescriptionListTest, AFileThatCannotBeReadIsNeverOverwritten) {
    std::filesystem::create_directories(file()); // reading a folder fails as root too
    DescriptionList l(file());
    IoResult read = l.open();
    EXPECT_FALSE(read.ok());
    EXPECT_EQ(l.save().result.error, read.error);
    EXPECT_EQ(l.readyForDownload().message(), read.message());
    EXPECT_TRUE(std::filesystem::is_directory(file()));
}
