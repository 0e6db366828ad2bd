// korvan-cli report, run in process: the options it refuses, the period it passes on, and the
// files it writes.
#include "CliMain.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace korvan;
using namespace korvan::test;

TEST(CliReport, OptionsPeriodAndOutputs) {
    TempDir dir;
    writeBytes(dir / "record/dzcjl.rec", "2026-12-07 10:00:01\fPear\f1\f2.00\f2.00\r\n"
                                         "2026-12-08 09:15:00\fPear\f2\f2.00\f4.00\r\n");
    writeBytes(dir / "record/language.rec", "english");
    const std::string csv = (dir / "out.csv").string(), xlsx = (dir / "out.xlsx").string();
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out; // stdout exactly, or how stderr starts
    } cases[] = {
        {{"--from", "2026-12-08"},
         0,
         "Day         Sales  N.W/Q'TY  Amount   Share\n"
         "2026-12-08      1     2.000    4.00  100.0%\n"
         "-------------------------------------------\n"
         "Total           1     2.000    4.00  100.0%\n"},
        {{"--by", "month"}, 2, "korvan-cli: --by takes day, hour, weekday or commodity"},
        {{"--from", "2026-12-8"}, 2, "korvan-cli: --from and --to take a date as YYYY-MM-DD"},
        {{"--from", "2026-12-09", "--to", "2026-12-08"}, 2, "korvan-cli: --from 2026-12-09 comes"},
        {{"--csv", csv, "--xlsx", xlsx}, 2, "korvan-cli: --csv excludes --xlsx"},
        {{"--xlsx", csv}, 2, "korvan-cli: --xlsx takes a file name ending in .xlsx"},
        {{"--csv", csv, "--by", "commodity"}, 0, "Summary written to " + csv + ": 1 rows\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--data-dir", dir.path().string(), "report"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::ostringstream out, err;
        EXPECT_EQ(cli::runCli(args, out, err, false), c.status) << err.str();
        const std::string shown = c.status == 2 ? err.str().substr(0, c.out.size()) : out.str();
        EXPECT_EQ(shown, c.out) << c.args.front();
    }
    EXPECT_EQ(readBytes(csv), "\xEF\xBB\xBF"
                              "Commodity Name,Sales,N.W/Q'TY,Amount,Share\r\n"
                              "Pear,2,3.000,6.00,100.0%\r\n"
                              "Total,2,3.000,6.00,100.0%\r\n");
}
