// korvan-cli export-records, run in process on a data directory: which records the query picks,
// the messages and exit statuses, and the workbook written.
#include "CliMain.h"

#include "WorkbookDump.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace korvan;
using namespace korvan::test;

namespace {

const std::string kApple = "\xc6\xbb\xb9\xfb"; // 苹果 in GBK

// Two sales on 7 December, one on 8 December, one written with a one-digit month.
const std::string kRecords = "2026-12-07 10:00:01\f" + kApple + "\f1.250\f5.00\f6.25\r\n" +
                             "2026-12-07 11:30:00\fapples\f2\f1.00\f2.00\r\n" +
                             "2026-12-08 09:15:00\f" + kApple + "\f0.500\f5.00\f2.50\r\n" +
                             "2026-2-07 09:00:00\fApple\f1\f1.00\f1.00\n";

// The caption of column A, then the times and names of the workbook's records.
std::string exported(const std::filesystem::path& file) {
    const auto values = dumpWorkbook(file);
    std::string text = values.at("cell.A1") + ":";
    for (int row = 2; values.count("cell.B" + std::to_string(row)); ++row) {
        const std::string time = values.at("cell.A" + std::to_string(row));
        text += (row == 2 ? "" : ",") + time.substr(0, time.find(' ')) + " " +
                values.at("cell.B" + std::to_string(row));
    }
    return text;
}

} // namespace

TEST(CliExportRecords, TheQueryPicksTheRowsAndFailuresAreSaid) {
    TempDir dir;
    writeBytes(dir / "record/dzcjl.rec", kRecords);
    writeBytes(dir / "a-file", "x");
    const std::string out = (dir / "out.xlsx").string();
    const std::string all = "t2026-12-07 苹果,t2026-12-07 apples,t2026-12-08 苹果,t2026-2-07 Apple";
    const struct {
        const char* language;
        std::vector<std::string> args;
        int status;
        std::string out; // stdout exactly, or for a usage error how stderr starts
        std::string workbook;
    } cases[] = {
        {"english", {"--xlsx", out}, 0, "Records exported to " + out + ": 4", all},
        {"english", {"--xlsx", out, "--date", "", "--name", ""}, 0, "", all},
        {"english",
         {"--xlsx", out, "--date", "2026-12-07"},
         0,
         "",
         "t2026-12-07 苹果,t2026-12-07 apples"},
        // The name is typed in UTF-8 and compared with the file's GBK bytes, whole and exact.
        {"chinese",
         {"--xlsx", out, "--name", "苹果"},
         0,
         "记录已导出到 " + out + "：2 条",
         "t2026-12-07 苹果,t2026-12-08 苹果"},
        {"english",
         {"--xlsx", out, "--date", "2026-12-08", "--name", "苹果"},
         0,
         "",
         "t2026-12-08 苹果"},
        // Nothing to export: nothing is written, as the screen refuses an empty list.
        {"english", {"--xlsx", out, "--name", "plum"}, 1, "No record ", ""},
        {"english", {"--xlsx", out, "--name", "APPLES"}, 0, "", "t2026-12-07 apples"},
        {"chinese", {"--xlsx", out, "--data-dir", (dir / "empty").string()}, 1, "没有记录", ""},
        {"english",
         {"--xlsx", (dir / "a-file/out.xlsx").string()},
         1,
         "Unable to build Excel 2003 server",
         ""},
        {"english",
         {"--xlsx", out, "--date", "2026-12-07 10"},
         2,
         "korvan-cli: --date takes the first ten characters of a time",
         ""},
        {"english", {"--date", "2026-12-07"}, 2, "korvan-cli: --xlsx is required", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        std::filesystem::remove(out);
        writeBytes(dir / "record/language.rec", c.language);
        writeBytes(dir / "empty/record/language.rec", c.language);
        std::vector<std::string> args = {"export-records", "--data-dir", dir.path().string()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::ostringstream stdoutText, stderrText;
        EXPECT_EQ(cli::runCli(args, stdoutText, stderrText, false), c.status) << stderrText.str();
        if (c.status == 2) {
            EXPECT_EQ(stderrText.str().rfind(c.out, 0), 0u) << stderrText.str();
        } else if (!c.out.empty()) {
            EXPECT_EQ(stdoutText.str(), c.out + "\n");
        }
        if (c.status != 0) {
            EXPECT_FALSE(std::filesystem::exists(out));
            continue;
        }
        const std::string caption =
            c.language == std::string("chinese") ? "交易时间" : "Transaction time";
        EXPECT_EQ(exported(out), caption + ":" + c.workbook);
    }

    // A print's usage error points at the print command's own help.
    std::ostringstream printOut, printErr;
    EXPECT_EQ(cli::runCli({"print-records", "--data-dir", dir.path().string(), "--pdf", "x.pdf",
                           "--date", "2026-12-07 10"},
                          printOut, printErr, false),
              2);
    EXPECT_NE(printErr.str().find("Try 'korvan-cli print-records --help'"), std::string::npos)
        << printErr.str();

    // An export never makes the folder it is to go into; it fails and names the folder.
    const std::vector<std::vector<std::string>> intoMissingFolders = {
        {"export-records", "--xlsx", (dir / "missing/out.xlsx").string()},
        {"export-commodities", (dir / "missing/out.csv").string()},
        {"export-commodities", (dir / "missing/out.xlsx").string()},
    };
    for (std::vector<std::string> args : intoMissingFolders) {
        args.insert(args.begin() + 1, {"--data-dir", dir.path().string()});
        std::ostringstream stdoutText, stderrText;
        EXPECT_EQ(cli::runCli(args, stdoutText, stderrText, false), 1) << args.back();
        EXPECT_NE((stdoutText.str() + stderrText.str()).find((dir / "missing").string()),
                  std::string::npos)
            << stdoutText.str() << stderrText.str();
        EXPECT_FALSE(std::filesystem::exists(dir / "missing")) << args.back();
    }
}

TEST(CliPrintRecords, PagesIntoAPdfOrNothing) {
#ifndef KORVAN_HAVE_PDF
    GTEST_SKIP() << "built without the desktop program's GUI module";
#endif
    TempDir dir;
    std::string records;
    for (int i = 0; i < 100; ++i)
        records += "2026-12-07 10:00:01\f" + kApple + "\f1\f1.00\f1.00\r\n";
    writeBytes(dir / "record/dzcjl.rec", records + "2026-12-08 10:00:01\fPear\f1\f1.00\f1.00\r\n");
    writeBytes(dir / "a-file", "x");
    const std::string pdf = (dir / "out.pdf").string();
    const auto run = [&](std::vector<std::string> extra, std::string& text) {
        std::vector<std::string> args = {"print-records", "--data-dir", dir.path().string()};
        args.insert(args.end(), extra.begin(), extra.end());
        std::ostringstream stdoutText, stderrText;
        const int status = cli::runCli(args, stdoutText, stderrText, false);
        text = stdoutText.str();
        return status;
    };
    const auto pages = [](const std::string& bytes) {
        std::size_t n = 0;
        for (auto at = bytes.find("/Type /Page\n"); at != std::string::npos;
             at = bytes.find("/Type /Page\n", at + 1))
            ++n;
        return n;
    };
    // The painting must not need a display, nor change the platform the environment names for
    // the rest of the process.
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    std::string out;
    EXPECT_EQ(run({"--pdf", pdf, "--name", "苹果"}, out), 0);
    EXPECT_STREQ(std::getenv("QT_QPA_PLATFORM"), "xcb");
    ::unsetenv("QT_QPA_PLATFORM");
    EXPECT_EQ(out, "Records printed to " + pdf + ": 2 pages\n"); // 79 rows, then 21
    EXPECT_EQ(readBytes(pdf).rfind("%PDF", 0), 0u);
    EXPECT_EQ(pages(readBytes(pdf)), 2u);
    EXPECT_EQ(run({"--pdf", pdf, "--date", "2026-12-08"}, out), 0);
    EXPECT_EQ(pages(readBytes(pdf)), 1u);

    std::filesystem::remove(pdf);
    EXPECT_EQ(run({"--pdf", pdf, "--name", "apple"}, out), 1);
    EXPECT_EQ(out, "No record \n");
    EXPECT_EQ(run({"--pdf", (dir / "a-file/out.pdf").string()}, out), 1);
    EXPECT_EQ(out, "The PDF file could not be written\n");
    EXPECT_FALSE(std::filesystem::exists(pdf));
}
