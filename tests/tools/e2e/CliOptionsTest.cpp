// The command line's own pieces: option parsing, the date and time option, how the job is
// built from the record files, and how read records are appended.
#include "CliJob.h"
#include "CliOptions.h"
#include "SalesRecordAppender.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvan;
using namespace korvan::cli;

namespace {

std::optional<CliOptions> parse(std::vector<std::string> args, std::string* error = nullptr) {
    std::string e;
    auto options = CliOptions::parse(args, e);
    if (error)
        *error = e;
    return options;
}

} // namespace

TEST(CliOptions, CommandsAndTheirOptions) {
    auto options =
        parse({"--data-dir", "/d", "send", "commodities", "--family", "orin-kesa", "--link",
               "network", "--ip", "10.1.2.3", "--local-port", "17000", "--scale-port", "18000"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->command, Command::SendCommodities);
    EXPECT_EQ(options->family, ModelFamily::OrinKesa);
    EXPECT_EQ(options->link, LinkMode::Network);
    EXPECT_EQ(options->ip, "10.1.2.3");
    EXPECT_EQ(options->localPort, 17000);
    EXPECT_EQ(options->scalePort, 18000);
    EXPECT_EQ(options->dataDir, "/d");

    EXPECT_EQ(parse({"send", "commodities"})->family, ModelFamily::Vamo);
    EXPECT_EQ(parse({"read-records"})->command, Command::ReadRecords);
    EXPECT_EQ(parse({"clear-records", "--yes"})->command, Command::ClearRecords);
    EXPECT_EQ(parse({"send", "shop-phone"})->command, Command::SendShopPhone);
    EXPECT_TRUE(parse({"--help"})->help);
}

TEST(CliOptions, UsageErrorsSayWhatIsWrong) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong = {
        {{}, "no command"},
        {{"send"}, "unknown command"},
        {{"send", "label"}, "unknown command"},
        {{"clear-records"}, "--yes"},
        {{"read-records", "--yes"}, "--yes"},
        {{"send", "descriptions", "--family", "vamo"}, "--family"},
        {{"send", "commodities", "--family", "other"}, "--family"},
        {{"read-records", "--at", "2026-01-01 00:00:00"}, "--at"},
        {{"send", "datetime", "--at", "2026-02-30 00:00:00"}, "--at"},
        {{"send", "datetime", "--at", "2026-01-01 24:00:00"}, "--at"},
        {{"read-records", "--ip", "scale.local"}, "--ip"},
        {{"read-records", "--port", "COM16"}, "--port"},
        {{"read-records", "--local-port", "70000"}, "--local-port"},
        {{"read-records", "--scale-port"}, "needs a value"},
        {{"read-records", "--verbose"}, "unknown option"},
    };
    for (const auto& [args, hint] : wrong) {
        std::string error;
        EXPECT_FALSE(parse(args, &error));
        EXPECT_NE(error.find(hint), std::string::npos) << error;
    }
}

TEST(CliOptions, DateTimeGetsItsDayOfTheWeek) {
    const auto monday = CliOptions::parseDateTime("2026-12-07 02:53:32");
    ASSERT_TRUE(monday);
    EXPECT_EQ(monday->tm_wday, 1);
    EXPECT_EQ(monday->tm_hour, 2);
    EXPECT_EQ(CliOptions::parseDateTime("2026-03-01 00:00:05")->tm_wday, 0);
    EXPECT_TRUE(CliOptions::parseDateTime("2028-02-29 23:59:59"));
    EXPECT_FALSE(CliOptions::parseDateTime("2027-02-29 00:00:00"));
    EXPECT_FALSE(CliOptions::parseDateTime("2026-3-1 0:0:5"));
    EXPECT_FALSE(CliOptions::parseDateTime("2026-03-01 00:00:05 "));
}

TEST(CliJob, RequestsComeFromTheRecordFiles) {
    test::TempDir dir;
    const DataDir data(dir.path());
    // Choice words as the file holds them; an odd word reads as its field's "no" value.
    test::writeBytes(data.record("sp.rec"), "A\x0C"
                                            "1\x0C"
                                            "2\x0C"
                                            "odd\x0Cweight\x0C"
                                            "0\x0C"
                                            "0\x0C"
                                            "odd\x0C"
                                            "0\x0C"
                                            "0\r\n");
    test::writeBytes(data.record("xpwz.rec"), "Name\r\n");
    std::vector<SalesRecord> records;
    std::string error;

    CliOptions options = *parse({"send", "commodities"});
    auto request = CliJob::load(options, data, records, error);
    ASSERT_TRUE(request) << error;
    ASSERT_EQ(request->commodities.size(), 1u);
    EXPECT_FALSE(request->commodities[0].priceChangeable);
    EXPECT_FALSE(request->commodities[0].discountable);

    options = *parse({"send", "store-address"}); // line 3 is missing: empty text
    request = CliJob::load(options, data, records, error);
    ASSERT_TRUE(request);
    EXPECT_EQ(request->kind, JobKind::StoreAddressDownload);
    EXPECT_EQ(request->text, "");

    options = *parse({"send", "datetime", "--at", "2026-12-07 02:53:32"});
    EXPECT_EQ(CliJob::load(options, data, records, error)->text, "2611207025332");

    std::filesystem::create_directories(data.record("spsm.rec"));
    options = *parse({"send", "descriptions"});
    EXPECT_FALSE(CliJob::load(options, data, records, error));
    EXPECT_NE(error.find("spsm.rec"), std::string::npos);
}

TEST(SalesRecordAppender, AppendsAtomicallyAfterTheLastLine) {
    test::TempDir dir;
    const auto file = dir / "record" / "dzcjl.rec";
    SalesRecord r;
    r.fields = {"t", "n", "w", "p", "a"};
    ASSERT_TRUE(SalesRecordAppender::append(file, {r}).ok());
    ASSERT_TRUE(SalesRecordAppender::append(file, {r, r}).ok());
    EXPECT_EQ(test::readBytes(file), "t\x0Cn\x0Cw\x0Cp\x0C"
                                     "a\r\n"
                                     "t\x0Cn\x0Cw\x0Cp\x0C"
                                     "a\r\n"
                                     "t\x0Cn\x0Cw\x0Cp\x0C"
                                     "a\r\n");
    EXPECT_TRUE(SalesRecordAppender::append(dir / "untouched.rec", {}).ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "untouched.rec"));
}
