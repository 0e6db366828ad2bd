#include "commodity/CommodityList.h"
#include "common/Prompt.h"
#include "common/TextCodec.h"
#include "link/RecordBuilder.h"
#include "support/TempDir.h"
#include "support/WorkedExample.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvan;
using korvan::test::readBytes;
using korvan::test::TempDir;
using korvan::test::writeBytes;
using Strings = std::vector<std::string>;

namespace {

std::string line(const std::string& name, const std::string& desc = "0",
                 const std::string& choices = "Yes\fweight\f0\f0\fNo") {
    return name + "\fc-" + name + "\f1.00\f" + choices + "\f0\f" + desc + "\r\n";
}

class CommodityListTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedFlag = Language::flag();
        Language::setFlag(kEnglish);
    }
    void TearDown() override { Language::setFlag(savedFlag); }

    // Writes the file and opens a list on it.
    CommodityList& open(const std::string& bytes) {
        writeBytes(file(), bytes);
        list = std::make_unique<CommodityList>(file());
        EXPECT_TRUE(list->open().ok());
        return *list;
    }
    std::filesystem::path file() const { return dir / "record/sp.rec"; }
    std::string fileBytes() const { return readBytes(file()); }

    TempDir dir;
    Prompt::Script prompts;
    std::unique_ptr<CommodityList> list;
    std::string savedFlag;
};

CommodityForm filled(const std::string& name) {
    CommodityForm f = CommodityForm::cleared();
    f.name = name;
    f.code = "9";
    f.unitPrice = "2.50";
    return f;
}

} // namespace

TEST_F(CommodityListTest, OpeningAnEmptyFileAllowsDownloadAtOnce) {
    CommodityList& l = open("");
    EXPECT_EQ(l.size(), 0u);
    EXPECT_FALSE(l.isModified());
    EXPECT_FALSE(l.hasChosen());
    EXPECT_EQ(l.modelFamily(), ModelFamily::Vamo);
    EXPECT_EQ(l.workingRecord(), CommodityRecord{});
    EXPECT_TRUE(l.readyForDownload());
    l.setModelFamily(ModelFamily::OrinKesa);
    ASSERT_TRUE(l.open().ok());
    EXPECT_EQ(l.modelFamily(), ModelFamily::Vamo);
}

TEST_F(CommodityListTest, FindMatchesWholeNamesExactlyAndTakesTheUpperOfTwo) {
    CommodityList& l = open(line("Apple", "1") + line("Pear") + line("Apple", "2"));
    l.setWorkingName("App");
    EXPECT_EQ(l.find().message(), "Can't find");
    EXPECT_FALSE(l.hasChosen());

    l.setWorkingName("apple");
    EXPECT_FALSE(l.find());

    l.setWorkingName("Apple");
    ASSERT_TRUE(l.find());
    EXPECT_TRUE(l.hasChosen());
    EXPECT_EQ(l.chosenIndex(), 0u);
    EXPECT_EQ(l.workingRecord().descriptionNumber, "1");
    EXPECT_TRUE(l.editorUpdates());

    // An empty box is refused and clears the chosen row before anything else.
    l.setWorkingName("");
    EXPECT_EQ(l.find().message(), "Commodity name can't be empty");
    EXPECT_FALSE(l.hasChosen());
}

TEST_F(CommodityListTest, ClickChoosesTheLowestSelectedRowAndFindInAnEmptyList) {
    CommodityList& l = open("");
    Language::setFlag(kChinese);
    ASSERT_TRUE(l.open().ok());
    l.setWorkingName("Apple");
    Language::setFlag(kEnglish); // messages keep the language of opening
    EXPECT_EQ(l.find().message(), "找不到该商品");
    EXPECT_FALSE(l.hasChosen());
    ASSERT_TRUE(l.startNew());
    (void)l.saveFromEditor(filled("A"));
    const TrackedFile::Saved saved = l.save();
    EXPECT_TRUE(saved.result.ok());
    EXPECT_EQ(saved.note, "数据保存完成");

    CommodityList& m = open(line("Fig") + line("Kiwi") + line("Plum"));
    m.click({2, 7, 1});                        // rows that do not exist are ignored
    EXPECT_EQ(m.workingRecord(), m.rows()[1]); // the Name box shows the chosen row's name
    m.click({});                               // nothing selected: nothing changes
    EXPECT_EQ(m.chosenIndex(), 1u);
    ASSERT_TRUE(m.find());
    EXPECT_EQ(m.chosenIndex(), 1u);
    m.deleteAll();
    m.click({0});
    EXPECT_FALSE(m.hasChosen());
}

TEST_F(CommodityListTest, NewAfterAClickAddsACopyOfTheChosenRow) {
    CommodityList& l = open(line("Fig", "7", "No\fquantity\f5\f3\fYes") + line("Kiwi"));
    l.click({0});
    ASSERT_TRUE(l.startNew());
    EXPECT_FALSE(l.hasChosen());
    EXPECT_FALSE(l.editorUpdates());
    CommodityForm form = l.editorForm();
    EXPECT_EQ(form.name, "Fig");
    EXPECT_EQ(form.priceChange, PriceChange::No);
    EXPECT_EQ(form.salesMode, SalesMode::Quantity);
    EXPECT_EQ(form.discount, Discount::Yes);
    EXPECT_EQ(form.descriptionNumber, "7");

    form.name = "Fig2";
    auto saved = l.saveFromEditor(form);
    EXPECT_TRUE(saved.close);
    ASSERT_EQ(l.size(), 3u);
    EXPECT_EQ(l.rows()[2].name, "Fig2");
    EXPECT_EQ(l.rows()[2].shelfLife, "3");
    EXPECT_EQ(fileBytes(), line("Fig", "7", "No\fquantity\f5\f3\fYes") + line("Kiwi") +
                               "Fig2\fc-Fig\f1.00\fNo\fquantity\f5\f3\fYes\f0\f7\r\n");
    EXPECT_TRUE(l.readyForDownload());
}

TEST_F(CommodityListTest, DoubleClickEditsTheHighestSelectedRowOrAdds) {
    CommodityList& l = open(line("A") + line("B") + line("C"));
    l.doubleClick({0, 1});
    EXPECT_TRUE(l.editorUpdates());
    EXPECT_EQ(l.chosenIndex(), 1u);
    EXPECT_EQ(l.editorForm().name, "B");
    l.doubleClick({});
    EXPECT_FALSE(l.editorUpdates());
    EXPECT_EQ(l.editorForm(), CommodityForm::cleared());
    EXPECT_EQ(l.editorForm().priceChange, PriceChange::Yes);
    EXPECT_EQ(l.editorForm().salesMode, SalesMode::Weight);
    EXPECT_EQ(l.editorForm().discount, Discount::No);
    EXPECT_EQ(l.editorForm().tare, "0");

    // New without a chosen row starts from a new record too, whatever the Name box holds.
    l.setWorkingName("typed");
    ASSERT_TRUE(l.startNew());
    EXPECT_EQ(l.editorForm(), CommodityForm::cleared());
}

TEST_F(CommodityListTest, TheRowLimitStopsNewAndAdding) {
    std::string bytes;
    for (int i = 0; i < 2000; ++i)
        bytes += line("n" + std::to_string(i));
    CommodityList& l = open(bytes);
    l.click({5});
    EXPECT_EQ(l.startNew().message(), "Commodity data should not exceed 2000");
    EXPECT_TRUE(l.hasChosen()); // nothing else happened

    // A double-click without a selection opens the editor to add; the limit comes first.
    l.doubleClick({});
    CommodityForm empty = CommodityForm::cleared();
    EXPECT_EQ(l.editorRefusal(empty).message(), "Commodity data should not exceed 2000");
    auto saved = l.saveFromEditor(empty);
    EXPECT_FALSE(saved.close);
    EXPECT_EQ(l.size(), 2000u);
    EXPECT_EQ(fileBytes(), bytes);
}

TEST_F(CommodityListTest, DeleteWithNothingSelectedStillAsksToSaveBeforeDownload) {
    CommodityList& l = open(line("A") + line("B") + line("C") + line("D"));
    l.deleteSelected({});
    EXPECT_EQ(l.size(), 4u);
    EXPECT_TRUE(l.isModified());
    EXPECT_EQ(l.readyForDownload().message(), "Please save the data first");

    l.click({1});
    l.deleteSelected({3, 1, 1, 9});
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(l.rows()[0].name, "A");
    EXPECT_EQ(l.rows()[1].name, "C");
    EXPECT_TRUE(l.hasChosen()); // the chosen row is left as it was
    EXPECT_EQ(l.chosenIndex(), 1u);

    const TrackedFile::Saved saved = l.save();
    EXPECT_TRUE(saved.result.ok());
    EXPECT_EQ(saved.note, "Save completed");
    EXPECT_FALSE(l.isModified());
    EXPECT_TRUE(l.readyForDownload());
    EXPECT_EQ(fileBytes(), line("A") + line("C"));
}

TEST_F(CommodityListTest, DeleteAllThenSaveEmptiesTheFileAndKeepsTheFlag) {
    CommodityList& l = open(line("A") + line("B"));
    l.deleteAll();
    const TrackedFile::Saved saved = l.save();
    EXPECT_TRUE(saved.result.ok());
    EXPECT_TRUE(std::filesystem::exists(file()));
    EXPECT_EQ(std::filesystem::file_size(file()), 0u);
    EXPECT_EQ(saved.note, "");
    EXPECT_TRUE(l.isModified());
    EXPECT_EQ(l.readyForDownload().message(), "Please save the data first");
}

TEST_F(CommodityListTest, AFailedSaveKeepsTheFlagAndSaysNothingItself) {
    CommodityList& l = open(line("A") + line("B"));
    l.deleteSelected({0});
    // Something took the file's place: the rename over it fails.
    std::filesystem::remove(file());
    std::filesystem::create_directory(file());
    prompts.choose(1); // the file changed on disk: overwrite, which fails
    prompts.choose(1);
    IoResult result = l.save().result;
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.message().find("sp.rec"), std::string::npos);
    EXPECT_EQ(prompts.shown().size(), 1u); // the question only
    EXPECT_TRUE(l.isModified());

    // The editor's write fails the same way: the editor closes, the list keeps the change.
    l.doubleClick({});
    auto saved = l.saveFromEditor(filled("New"));
    EXPECT_TRUE(saved.close);
    EXPECT_FALSE(saved.write.ok());
    EXPECT_TRUE(l.isModified());
    EXPECT_EQ(l.rows().back().name, "New");
}

TEST_F(CommodityListTest, AFileThatCannotBeReadIsNeverOverwritten) {
    const std::string bytes = line("A") + line("B");
    writeBytes(file(), bytes);
    ::chmod(dir.path().c_str(), 0777);
    ::chmod((dir / "record").c_str(), 0777);
    ::chmod(file().c_str(), 0);
    EXPECT_TRUE(korvan::test::runUnprivileged([&] {
        Prompt::Script script;
        CommodityList l(file());
        IoResult read = l.open();
        if (read.ok() || l.size() != 0)
            return false;
        l.doubleClick({});
        auto saved = l.saveFromEditor(filled("X"));
        return !l.save().result.ok() && saved.close && !saved.write.ok() &&
               l.readyForDownload().message() == read.message();
    }));
    ::chmod(file().c_str(), 0644);
    EXPECT_EQ(fileBytes(), bytes);
}

TEST_F(CommodityListTest, UpdatingReplacesTheChosenRowAndWrites) {
    CommodityList& l = open(line("A") + line("B") + line("C"));
    l.click({1});
    CommodityForm form = l.editorForm();
    form.unitPrice = "9.99";
    form.descriptionNumber = "45"; // only a new record is held to 32
    form.salesMode = SalesMode::Quantity;
    auto saved = l.saveFromEditor(form);
    EXPECT_TRUE(saved.close);
    EXPECT_TRUE(saved.write.ok());
    EXPECT_EQ(l.size(), 3u);
    EXPECT_EQ(l.rows()[1].unitPrice, "9.99");
    EXPECT_FALSE(l.hasChosen());
    EXPECT_EQ(l.chosenIndex(), 0u);
    EXPECT_EQ(l.workingRecord(), CommodityRecord::newRecord());
    EXPECT_FALSE(l.isModified());
    EXPECT_EQ(fileBytes(),
              line("A") + "B\fc-B\f9.99\fYes\fquantity\f0\f0\fNo\f0\f45\r\n" + line("C"));
    EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(CommodityListTest, AFailedUpdateChangesNothingAndKeepsTheEditorOpen) {
    const std::string bytes = line("A") + line("B");
    CommodityList& l = open(bytes);
    l.deleteSelected({}); // even with unsaved changes nothing is written
    l.click({1});
    CommodityForm form = l.editorForm();
    form.tare.clear();
    form.name = "changed";
    EXPECT_EQ(l.editorRefusal(form).message(), "Tare weight should not be empty");
    auto saved = l.saveFromEditor(form);
    EXPECT_FALSE(saved.close);
    EXPECT_EQ(l.rows()[1].name, "B");
    EXPECT_TRUE(l.hasChosen());
    EXPECT_EQ(fileBytes(), bytes);

    // Clear in updating mode, then a filled Save still replaces the chosen row.
    CommodityForm cleared = CommodityForm::cleared();
    cleared.name = "Z";
    cleared.code = "1";
    cleared.unitPrice = "2";
    saved = l.saveFromEditor(cleared);
    EXPECT_TRUE(saved.close);
    EXPECT_EQ(l.size(), 2u);
    EXPECT_EQ(l.rows()[1].name, "Z");
}

TEST_F(CommodityListTest, AFailedAddOnAnUnchangedListKeepsTheEditorOpen) {
    const std::string bytes = line("A");
    CommodityList& l = open(bytes);
    ASSERT_TRUE(l.startNew());
    CommodityForm form = filled("New");
    form.descriptionNumber = "45";
    EXPECT_EQ(l.editorRefusal(form).message(),
              "Commodity description should not be greater than 32");
    auto saved = l.saveFromEditor(form);
    EXPECT_FALSE(saved.close);
    EXPECT_EQ(l.size(), 1u);
    EXPECT_FALSE(l.isModified());
    EXPECT_EQ(fileBytes(), bytes);
}

TEST_F(CommodityListTest, AFailedAddAfterADeleteDropsTheRecordAndWritesTheList) {
    Language::setFlag(kChinese);
    CommodityList& l = open(line("A") + line("B"));
    l.click({0});
    l.deleteSelected({0});
    l.doubleClick({});
    CommodityForm form = CommodityForm::cleared(); // empty name
    form.code = "5";
    EXPECT_EQ(l.editorRefusal(form).message(), "商品名不能为空");
    auto saved = l.saveFromEditor(form);
    EXPECT_TRUE(saved.close);
    EXPECT_TRUE(saved.write.ok());
    EXPECT_EQ(l.size(), 1u);
    EXPECT_FALSE(l.isModified());
    EXPECT_EQ(fileBytes(), line("B"));
}

TEST_F(CommodityListTest, ChoiceValuesSurviveAnUnknownLanguageFlag) {
    // Both values of every choice, once each, through the list and the editor.
    const std::string bytes =
        line("A", "1", "No\fquantity\f0\f0\fNo") + line("B", "2", "Yes\fweight\f0\f0\fYes");
    Language::setFlag("francais");
    CommodityList& l = open(bytes);
    l.deleteSelected({});
    EXPECT_EQ(l.save().note, "Save completed"); // English texts for an unknown flag
    EXPECT_EQ(fileBytes(), bytes);

    l.click({0});
    auto saved = l.saveFromEditor(l.editorForm());
    EXPECT_TRUE(saved.close);
    EXPECT_EQ(fileBytes(), bytes);
    EXPECT_EQ(l.rows()[0].displayText(CommodityField::Discount), "No");
}

TEST_F(CommodityListTest, DownloadRequestSendsTheWorkedExampleWhateverTheWords) {
    // The same commodity twice: with the Chinese choice words in the file, and with the English.
    const auto gbk = [](const char* utf8) { return TextCodec::toGbk(utf8).value(); };
    CommodityList& l =
        open("Apple\f1001\f5.00\f" + gbk("可变价") + "\f" + gbk("称重") + "\f0\f7\f" +
             gbk("不打折") + "\f0\f3\r\n" + "Apple\f1001\f5.00\fYes\fweight\f0\f7\fNo\f0\f3\r\n");
    JobRequest request = l.downloadRequest();
    EXPECT_EQ(request.get<CommodityPayload>()->family, ModelFamily::Vamo);
    ASSERT_EQ(request.rowCount(), 2u);
    const std::string& example = test::kAppleFullRecord;
    EXPECT_EQ(RecordBuilder::build(request, 0), example);
    EXPECT_EQ(RecordBuilder::build(request, 1), example);

    l.setModelFamily(ModelFamily::OrinKesa);
    request = l.downloadRequest();
    EXPECT_EQ(request.get<CommodityPayload>()->family, ModelFamily::OrinKesa);
    EXPECT_EQ(RecordBuilder::build(request, 0), "0000\x0C"
                                                "Apple\x0C"
                                                "5.00\r\n");
}

TEST_F(CommodityListTest, ANumberFieldThatIsNoNumberLoadsButIsNeverSent) {
    // Row 2 holds a tare the scale cannot read: it loads and shows, the download names it.
    CommodityList& l = open(line("a") + "b\fc\f2.00\fYes\fweight\f1kg\f0\fNo\f0\f0\r\n");
    EXPECT_EQ(l.rows()[1].tare, "1kg");
    EXPECT_EQ(l.readyForDownload().message(),
              "Row 2, tare_g: Tare weight must be a number (digits, at most "
              "one decimal point, no sign). Nothing was sent");
    // The short frame sends no tare, so nothing stands in its way.
    l.setModelFamily(ModelFamily::OrinKesa);
    EXPECT_EQ(l.downloadRefusal(), "");
}
