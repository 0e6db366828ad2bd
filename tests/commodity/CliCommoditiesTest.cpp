// korvan-cli export-commodities and import-commodities, run in process on a data directory: the
// report, the exit statuses, and when record/sp.rec is written.
#include "CliMain.h"

#include "support/TempDir.h"
#include "support/Together.h"

#include "common/DataLock.h"
#include "common/RecordFile.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <sstream>

using namespace korvan;
using namespace korvan::test;

namespace {

const std::string kList = "Apple\f1001\f6.80\fYes\fweight\f0\f7\fNo\f0\f1\r\n"
                          "Bread\f2001\f1.50\fNo\fquantity\f0\f2\fYes\f20\f4\r\n";

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome runIn(const TempDir& dir, std::vector<std::string> args) {
    args.insert(args.begin() + 1, {"--data-dir", dir.path().string()});
    std::ostringstream out, err;
    const int status = cli::runCli(args, out, err, false);
    return {status, out.str(), err.str()};
}

} // namespace

TEST(CliCommodities, ImportTakesEveryRowOrSaysWhichAreRejected) {
    TempDir dir;
    writeBytes(dir / "record/language.rec", "english");
    const std::string spRec = (dir / "record/sp.rec").string();
    const std::string in = (dir / "in.csv").string();
    const std::string good = "Code,Unit price,Name\r\n2001,1.80,Bread\r\n3001,2.00,Pear\r\n";
    const std::string oneBad = good + ",9.99,No code\r\n";
    const std::string pear = "Pear\f3001\f2.00\fYes\fweight\f0\f0\fNo\f0\f0\r\n";
    const std::string merged = "Apple\f1001\f6.80\fYes\fweight\f0\f7\fNo\f0\f1\r\n"
                               "Bread\f2001\f1.80\fNo\fquantity\f0\f2\fYes\f20\f4\r\n" +
                               pear;
    const struct {
        std::string file;
        std::vector<std::string> flags;
        int status;
        std::string out; // stdout exactly; for status 2 how stderr starts
        std::string spRec;
    } cases[] = {
        {good, {}, 0, "1 to add, 1 to update, 0 rejected; saved to " + spRec + "\n", merged},
        {good, {"--replace"}, 0, "", "Bread\f2001\f1.80\fYes\fweight\f0\f0\fNo\f0\f0\r\n" + pear},
        {good,
         {"--dry-run"},
         0,
         "1 to add, 1 to update, 0 rejected; dry run, nothing written\n",
         kList},
        {oneBad,
         {},
         1,
         "line 4, Code: Commodity Code Can't Be Empty\n"
         "1 to add, 1 to update, 1 rejected; nothing written\n",
         kList},
        {oneBad, {"--valid-only"}, 1, "", merged},
        // Every row rejected: replacing with the valid rows alone must not empty the list.
        {"Name,Code,Unit price\r\nNo code,,1\r\n",
         {"--replace", "--valid-only"},
         1,
         "line 2, Code: Commodity Code Can't Be Empty\n"
         "0 to add, 0 to update, 1 rejected; nothing written\n",
         kList},
        {"Name;Tare\r\nApple;0\r\n",
         {},
         2,
         "korvan-cli: " + in + ": Required columns are missing",
         kList},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file + (c.flags.empty() ? "" : c.flags[0]));
        writeBytes(spRec, kList);
        writeBytes(in, c.file);
        std::vector<std::string> args = {"import-commodities", in};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        const Outcome run = runIn(dir, args);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status == 2) {
            EXPECT_EQ(run.err.rfind(c.out, 0), 0u) << run.err;
        } else if (!c.out.empty()) {
            EXPECT_EQ(run.out, c.out);
        }
        EXPECT_EQ(readBytes(spRec), c.spRec);
    }
}

TEST(CliCommodities, AWorkbookExportedImportsIntoAnEmptyFolderByteForByte) {
    TempDir from, to;
    writeBytes(from / "record/sp.rec", kList);
    writeBytes(from / "record/language.rec", "chinese");
    const std::string book = (from / "x.xlsx").string();
    const Outcome exported = runIn(from, {"export-commodities", book});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "商品已导出到 " + book + ": 2\n");

    std::filesystem::create_directories(to / "record");
    const Outcome imported = runIn(to, {"import-commodities", book});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(readBytes(to / "record/sp.rec"), kList);

    // A file that is not there, and a command line without a file.
    EXPECT_EQ(runIn(to, {"import-commodities", (to / "missing.csv").string()}).status, 2);
    EXPECT_EQ(runIn(to, {"export-commodities"}).status, 2);
}

TEST(CliCommodities, TwoImportsAtOnceKeepTheRowsOfBoth) {
    constexpr int kRows = 300;
    auto csv = [](int firstCode) {
        std::string text = "Code,Unit price,Name\r\n";
        for (int code = firstCode; code < firstCode + kRows; ++code)
            text += std::to_string(code) + ",1.00,Item" + std::to_string(code) + "\r\n";
        return text;
    };
    for (int run = 0; run < 20; ++run) {
        TempDir dir;
        writeBytes(dir / "a.csv", csv(10000));
        writeBytes(dir / "b.csv", csv(20000));
        auto importing = [&dir](const char* file) {
            return [&dir, file] {
                return runIn(dir, {"import-commodities", (dir / file).string()}).status;
            };
        };
        const auto [first, second] = runTogether(importing("a.csv"), importing("b.csv"));
        ASSERT_EQ(first, 0);
        ASSERT_EQ(second, 0);
        const auto rows = RecordFile::readLines(dir / "record/sp.rec").value;
        ASSERT_EQ(rows.size(), 2u * kRows) << "run " << run;
    }
}

TEST(CliCommodities, AnImportThatWaitsForAnotherWriterSaysSoOnATerminal) {
    TempDir dir;
    writeBytes(dir / "in.csv", "Code,Unit price,Name\r\n1,1.00,One\r\n");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) { // another program in the middle of a write
        const DataLock lock(dir / "record/sp.rec");
        ::close(ready[0]);
        ::close(ready[1]);
        ::usleep(300 * 1000);
        ::_exit(0);
    }
    ::close(ready[1]);
    char byte;
    ASSERT_EQ(::read(ready[0], &byte, 1), 0); // the holder has the lock
    ::close(ready[0]);
    std::ostringstream out, err;
    const int status = cli::runCli(
        {"import-commodities", "--data-dir", dir.path().string(), (dir / "in.csv").string()}, out,
        err, true);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_NE(err.str().find("korvan-cli: waiting for another program to finish writing to " +
                             dir.path().string()),
              std::string::npos)
        << err.str();
}
