// korvan-cli export-records, run in process on a data directory: which records the query picks,
// the messages and exit statuses, and the workbook written.
#include "CliMain.h"

#include "WorkbookDump.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace korvan;
using korvan::test::dumpWorkbook;
using korvan::test::TempDir;
using korvan::test::writeBytes;

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun runCli(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliRun run;
    run.status = cli::runCli(args, out, err, false);
    run.out = out.str();
    run.err = err.str();
    return run;
}

const std::string kApple = "\xc6\xbb\xb9\xfb"; // 苹果 in GBK

// Four sales: two on 7 December, one on 8 December, one written with a one-digit month.
const std::string kRecords = "2026-12-07 10:00:01\f" + kApple +
                             "\f1.250\f5.00\f6.25\r\n"
                             "2026-12-07 11:30:00\fapples\f2\f1.00\f2.00\r\n"
                             "2026-12-08 09:15:00\f" +
                             kApple +
                             "\f0.500\f5.00\f2.50\r\n"
                             "2026-2-07 09:00:00\fApple\f1\f1.00\f1.00\n";

// Column B of every record row of the workbook, joined by commas.
std::string names(const std::filesystem::path& file) {
    const auto values = dumpWorkbook(file);
    std::string joined;
    for (int row = 2; values.count("cell.B" + std::to_string(row)); ++row)
        joined += (row == 2 ? "" : ",") + values.at("cell.B" + std::to_string(row));
    return joined;
}

} // namespace

TEST(CliExportRecords, TheQueryPicksTheRowsAsTheRecordScreenDoes) {
    TempDir dir;
    writeBytes(dir / "record/dzcjl.rec", kRecords);
    writeBytes(dir / "record/language.rec", "english");
    struct Case {
        std::vector<std::string> query;
        std::string names;
    };
    const Case cases[] = {
        {{}, "苹果,apples,苹果,Apple"},
        {{"--date", "2026-12-07"}, "苹果,apples"},
        // The name is typed in UTF-8 and compared with the file's GBK bytes, whole and exact.
        {{"--name", "苹果"}, "苹果,苹果"},
        {{"--name", "Apple"}, "Apple"},
        {{"--date", "2026-12-08", "--name", "苹果"}, "苹果"},
        {{"--date", "", "--name", ""}, "苹果,apples,苹果,Apple"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"export-records", "--data-dir", dir.path().string(),
                                         "--xlsx", (dir / "out.xlsx").string()};
        args.insert(args.end(), c.query.begin(), c.query.end());
        const CliRun run = runCli(args);
        SCOPED_TRACE(args.back());
        ASSERT_EQ(run.status, 0) << run.err;
        const std::size_t count = std::count(c.names.begin(), c.names.end(), ',') + 1;
        EXPECT_EQ(run.out, "Records exported to " + (dir / "out.xlsx").string() + ": " +
                               std::to_string(count) + "\n");
        EXPECT_EQ(names(dir / "out.xlsx"), c.names);
    }
    // The first column holds the time after its "t"; captions follow the language.
    writeBytes(dir / "record/language.rec", "chinese");
    ASSERT_EQ(runCli({"export-records", "--data-dir", dir.path().string(), "--xlsx",
                      (dir / "out.xlsx").string(), "--name", "Apple"})
                  .status,
              0);
    const auto values = dumpWorkbook(dir / "out.xlsx");
    EXPECT_EQ(values.at("cell.A1"), "交易时间");
    EXPECT_EQ(values.at("cell.A2"), "t2026-2-07 09:00:00");
    EXPECT_EQ(values.at("cell.E2"), "1.00");
}

TEST(CliExportRecords, NothingToExportOrNoWayToWriteIsAFailure) {
    TempDir dir;
    writeBytes(dir / "record/dzcjl.rec", kRecords);
    writeBytes(dir / "record/language.rec", "english");
    writeBytes(dir / "a-file", "x");
    const std::string data = dir.path().string();
    const std::string out = (dir / "out.xlsx").string();
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;      // stdout, exactly
        std::string errStart; // how stderr starts
    };
    const Case cases[] = {
        // No record matches: nothing is written, as the screen refuses an empty list.
        {{"--xlsx", out, "--name", "apple"}, 1, "No record \n", ""},
        {{"--xlsx", out, "--date", "2026-12-07 10"},
         2,
         "",
         "korvan-cli: --date takes the first ten characters of a time"},
        {{"--date", "2026-12-07"}, 2, "", "korvan-cli: --xlsx is required"},
        {{"--xlsx", (dir / "a-file/out.xlsx").string()},
         1,
         "Unable to build Excel 2003 server\n",
         "korvan-cli: "},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"export-records", "--data-dir", data};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = runCli(args);
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err.rfind(c.errStart, 0), 0u) << run.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
    // A data directory without the file has no records either.
    TempDir empty;
    writeBytes(empty / "record/language.rec", "chinese");
    const CliRun run =
        runCli({"export-records", "--data-dir", empty.path().string(), "--xlsx", out});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "没有记录\n");
}
