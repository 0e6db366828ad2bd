// korvan-cli against korvan-scale over the loopback, every command of the command line.
#include "CliMain.h"
#include "Process.h"
#include "common/RecordFile.h"
#include "common/TextCodec.h"
#include "common/UniqueFd.h"
#include "link/RecordBuilder.h"
#include "link/UdpPeer.h"
#include "support/TempDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>

#include <algorithm>
#include <memory>
#include <sstream>

using namespace korvan;
using namespace korvan::test;
using namespace std::chrono_literals;

namespace {

std::string gbk(const char* utf8) {
    return TextCodec::toGbk(utf8).value();
}

class CliScale : public ::testing::Test {
protected:
    void SetUp() override {
        // Both ports held at once so they differ; free again before the programs bind them.
        UdpPeer a, b;
        localPort_ = a.port();
        scalePort_ = b.port();
        writeBytes(record("tx.rec"), "Network\r\nCOM1\r\n127.0.0.1\r\n");
        setLanguage("english");
    }
    void TearDown() override {
        if (scale_) {
            scale_->terminate();
            scale_->wait(5s);
        }
    }

    std::filesystem::path record(const std::string& name) {
        return dir_ / "data" / "record" / name;
    }
    std::filesystem::path stored(const std::string& name) { return dir_ / "store" / name; }
    void setLanguage(const std::string& flag) { writeBytes(record("language.rec"), flag); }

    void startScale(std::vector<std::string> extra = {}) {
        std::vector<std::string> argv = {KORVAN_SCALE_PROGRAM,
                                         "--store",
                                         (dir_ / "store").string(),
                                         "--port",
                                         std::to_string(scalePort_),
                                         "--reply-port",
                                         std::to_string(localPort_),
                                         "--probe-port",
                                         "0",
                                         "--quiet"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        scale_ = std::make_unique<Child>(argv);
        ASSERT_TRUE(scale_->waitForLine("listening", 5s)) << scale_->err();
    }

    std::vector<std::string> cliArgs(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {"--data-dir",   (dir_ / "data").string(),
                                         "--local-port", std::to_string(localPort_),
                                         "--scale-port", std::to_string(scalePort_)};
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }
    // The program as its own process.
    RunResult cli(const std::vector<std::string>& args,
                  const std::optional<std::string>& stdoutFile = std::nullopt) {
        std::vector<std::string> argv = cliArgs(args);
        argv.insert(argv.begin(), KORVAN_CLI_PROGRAM);
        return run(argv, std::chrono::seconds(60), stdoutFile);
    }
    // The program in this process, against the scale process.
    RunResult cliInProcess(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        RunResult result;
        result.exitCode = cli::runCli(cliArgs(args), out, err, false);
        result.out = out.str();
        result.err = err.str();
        return result;
    }

    std::string rawLog() { return readBytes(stored("raw.log")); }

    TempDir dir_;
    std::uint16_t localPort_ = 0;
    std::uint16_t scalePort_ = 0;
    std::unique_ptr<Child> scale_;
};

const std::string kCommodities = "Apple\x0C"
                                 "1001\x0C"
                                 "5.00\x0CYes\x0Cweight\x0C"
                                 "0\x0C"
                                 "7\x0CNo\x0C"
                                 "0\x0C"
                                 "3\r\n"
                                 "Pear\x0C"
                                 "1002\x0C"
                                 "3.00\x0CNo\x0Cquantity\x0C"
                                 "0\x0C"
                                 "7\x0CYes\x0C"
                                 "0\x0C"
                                 "3\r\n";

} // namespace

TEST_F(CliScale, SendCommoditiesInBothFormats) {
    writeBytes(record("sp.rec"), kCommodities);
    startScale();
    RunResult full = cli({"send", "commodities"});
    EXPECT_EQ(full.exitCode, 0) << full.err;
    EXPECT_EQ(full.lastLine(), "2Data download completed");
    const std::string store = readBytes(stored("commodities.txt"));
    EXPECT_NE(store.find("command 0x13"), std::string::npos) << store;
    EXPECT_NE(store.find("Apple\t1001\t5.00\tYes\tweight\t0\t7\tNo\t0\t3"), std::string::npos)
        << store;
    // Progress went to stderr as plain lines (no terminal there).
    EXPECT_NE(full.err.find("Network download progress: 2 (2/2)"), std::string::npos) << full.err;

    RunResult shortFormat = cli({"send", "commodities", "--family", "orin-kesa"});
    EXPECT_EQ(shortFormat.exitCode, 0) << shortFormat.err;
    EXPECT_NE(readBytes(stored("commodities.txt")).find("command 0x03"), std::string::npos);
}

// The messages the scale received, in order, decoded from the hex of its raw log.
std::vector<std::string> receivedMessages(const std::string& log) {
    std::vector<std::string> messages;
    std::size_t at = 0;
    while ((at = log.find(" recv ", at)) != std::string::npos) {
        const std::size_t data = log.find(" data ", at);
        const std::size_t end = log.find('\n', data);
        std::string bytes;
        for (std::size_t i = data + 6; i + 1 < end; i += 3)
            bytes += static_cast<char>(std::stoi(log.substr(i, 2), nullptr, 16));
        messages.push_back(bytes);
        at = end;
    }
    return messages;
}

TEST_F(CliScale, TheScaleReceivesEveryMessageByteForByte) {
    const std::string line = "Apple\x0C"
                             "1001\x0C"
                             "5.00\x0CYes\x0Cweight\x0C"
                             "0\x0C"
                             "7\x0CNo\x0C"
                             "0\x0C"
                             "3";
    writeBytes(record("sp.rec"), line + "\r\n");
    startScale();
    RunResult result = cli({"send", "commodities"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.lastLine(), "1Data download completed");
    const CommodityRow row{"Apple", "1001", "5.00", true, true, "0", "7", false, "0", "3"};
    EXPECT_EQ(
        receivedMessages(rawLog()),
        (std::vector<std::string>{"\xAA", "\x13", RecordBuilder::commodityFull(row), "\x0F"}));
}

TEST_F(CliScale, EmptyListSendsTheEndByteRightAfterTheHello) {
    writeBytes(record("sp.rec"), "");
    startScale();
    RunResult result = cli({"send", "commodities"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.lastLine(), "0Data download completed");
    const std::string log = rawLog();
    const auto hello = log.find("data AA\n");
    ASSERT_NE(hello, std::string::npos) << log;
    // The next message from the PC after the hello is the end byte, not a command.
    const auto next = log.find("recv", hello + 1);
    ASSERT_NE(next, std::string::npos) << log;
    EXPECT_EQ(log.substr(log.find("data ", next), 8), "data 0F\n") << log;
}

TEST_F(CliScale, SendDescriptionsAndStoreTexts) {
    writeBytes(record("spsm.rec"), "1\x0C"
                                   "Fresh\r\n2\x0C"
                                   "Frozen\r\n");
    writeBytes(record("xpwz.rec"), gbk("商店") + "\r\n555-1234\r\nMain St 1\r\n");
    startScale();
    RunResult descriptions = cli({"send", "descriptions"});
    EXPECT_EQ(descriptions.lastLine(), "2Data download completed") << descriptions.err;
    const std::string texts = readBytes(stored("descriptions.txt"));
    EXPECT_NE(texts.find("Fresh"), std::string::npos) << texts;
    EXPECT_NE(texts.find("Frozen"), std::string::npos) << texts;

    for (const auto& [command, file, text] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"store-name", "store-name.txt", "商店"},
             {"shop-phone", "shop-phone.txt", "555-1234"},
             {"store-address", "store-address.txt", "Main St 1"}}) {
        RunResult result = cli({"send", command});
        EXPECT_EQ(result.exitCode, 0) << command << result.err;
        EXPECT_EQ(result.lastLine(), "1Data download completed") << command;
        EXPECT_NE(readBytes(stored(file)).find(text), std::string::npos) << command;
    }
}

TEST_F(CliScale, SendLabelTheLanguageChoosesOrTheOneNamed) {
    // The shipped labels: record/dqlabel.rec names one per language.
    const std::filesystem::path defaults = KORVAN_DEFAULTS;
    std::filesystem::copy(defaults / "label", dir_ / "data/label");
    std::filesystem::copy_file(defaults / "record/dqlabel.rec", record("dqlabel.rec"));
    startScale();
    setLanguage("english");
    RunResult english = cli({"send", "label"});
    ASSERT_EQ(english.exitCode, 0) << english.err;
    EXPECT_EQ(english.lastLine(), "25Data download completed"); // the header and 24 elements
    std::string label = readBytes(stored("label.txt"));
    EXPECT_NE(label.find("Commodity name"), std::string::npos) << label;
    EXPECT_NE(label.find("barcode"), std::string::npos) << label;

    setLanguage("chinese");
    RunResult chinese = cli({"send", "label"});
    EXPECT_EQ(chinese.lastLine(), "25条数据传送完成") << chinese.err;
    EXPECT_NE(readBytes(stored("label.txt")).find("商品名称"), std::string::npos); // kept readable

    // A file named on the command line wins; one that cannot be read sends nothing.
    setLanguage("english");
    RunResult named = cli({"send", "label", (dir_ / "data/label/3eng.bel").string()});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_NE(readBytes(stored("label.txt")).find("60"), std::string::npos);
    const std::string before = rawLog();
    RunResult missing = cli({"send", "label", (dir_ / "none.bel").string()});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.err.find("none.bel"), std::string::npos) << missing.err;
    writeBytes(record("dqlabel.rec"), "label/2eng.bel\r\n"); // a path without its form feed
    RunResult unnamed = cli({"send", "label"});
    EXPECT_EQ(unnamed.exitCode, 2);
    EXPECT_NE(unnamed.err.find("dqlabel.rec"), std::string::npos) << unnamed.err;
    EXPECT_EQ(rawLog(), before); // neither reached the scale
}

TEST_F(CliScale, SendDateTimeOfAGivenMoment) {
    startScale();
    RunResult result = cli({"send", "datetime", "--at", "2026-03-01 00:00:05"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.lastLine(), "1Data download completed");
    // The record as the scale received it: the 13 digits, CR LF.
    EXPECT_NE(rawLog().find("data 32 36 37 30 33 30 31 30 30 30 30 30 35 0D 0A"), std::string::npos)
        << rawLog();

    RunResult now = cli({"send", "datetime"});
    EXPECT_EQ(now.exitCode, 0) << now.err;
}

TEST_F(CliScale, ReadRecordsInPiecesAppendsToTheRecordFile) {
    const std::string sales = "2026-03-01 10:00\x0C"
                              "Apple\x0C"
                              "1.250\x0C"
                              "5.00\x0C"
                              "6.25\r\n"
                              "2026-03-02 11:00\x0C"
                              "Pear\x0C"
                              "2\x0C"
                              "3.00\x0C"
                              "6.00\r\n";
    writeBytes(dir_ / "sales.rec", sales);
    // An earlier record whose line end was lost still keeps a line of its own.
    writeBytes(record("dzcjl.rec"), "old\x0Cn\x0Cw\x0Cp\x0C"
                                    "1");
    startScale({"--sales", (dir_ / "sales.rec").string(), "--split-lines", "3"});
    RunResult result = cli({"read-records"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "2Data download completed\n2 new, 0 already there\n");
    const std::string stored = "old\x0Cn\x0Cw\x0Cp\x0C"
                               "1\r\n" +
                               sales;
    EXPECT_EQ(readBytes(record("dzcjl.rec")), stored);
    // Reading the same sales again adds nothing: the totals must not double.
    result = cli({"read-records"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "2Data download completed\n0 new, 2 already there\n");
    EXPECT_EQ(readBytes(record("dzcjl.rec")), stored);
}

TEST_F(CliScale, ReadRecordsStopsAt1999AndShowsProgressAtMostOnceASecond) {
    startScale({"--sales-count", "2100"});
    const auto start = std::chrono::steady_clock::now();
    RunResult result = cli({"read-records"});
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start);
    // Completed, but the scale may hold more: a script must not clear them next.
    EXPECT_EQ(result.exitCode, 3) << result.err;
    EXPECT_EQ(result.out, "1999Data download completed\n1999 new, 0 already there\n1999 records "
                          "read; the scale may hold more: clear them only after exporting these\n");
    EXPECT_EQ(RecordFile::readLines(record("dzcjl.rec")).value.size(), 1999u);
    // One line a second at most, the first and the last count besides.
    const auto lines = std::count(result.err.begin(), result.err.end(), '\n');
    EXPECT_LE(lines, seconds.count() + 2) << result.err;
    EXPECT_NE(result.err.find("progress: 1999\n"), std::string::npos) << result.err;
}

TEST_F(CliScale, RecordsThatCannotBeSavedMakeTheSaveFailureTheOutcome) {
    const std::string sales = "2026-03-01 10:00\x0C"
                              "Apple\x0C"
                              "1.250\x0C"
                              "5.00\x0C"
                              "6.25\r\n";
    writeBytes(dir_ / "sales.rec", sales);
    std::filesystem::create_directories(record("dzcjl.rec")); // no file can take its place
    startScale({"--sales", (dir_ / "sales.rec").string()});

    RunResult result = cli({"read-records"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.lastLine().find("dzcjl.rec"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("completed"), std::string::npos) << result.out;

    // Quiet: the save failure is the one line printed.
    RunResult quiet = cliInProcess({"read-records", "--quiet"});
    EXPECT_EQ(quiet.exitCode, 1);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(std::count(quiet.out.begin(), quiet.out.end(), '\n'), 1) << quiet.out;
    EXPECT_NE(quiet.out.find("dzcjl.rec"), std::string::npos) << quiet.out;
    EXPECT_TRUE(std::filesystem::is_directory(record("dzcjl.rec")));
}

TEST_F(CliScale, QuietPrintsTheOutcomeLineOnly) {
    writeBytes(record("sp.rec"), kCommodities);
    startScale();
    RunResult quiet = cliInProcess({"-q", "send", "commodities"});
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.out, "2Data download completed\n");
    EXPECT_EQ(quiet.err, "");
}

TEST_F(CliScale, AnOutcomeLostOnAFullDiskIsAFailure) {
    writeBytes(record("sp.rec"), kCommodities);
    startScale();
    RunResult full = cli({"send", "commodities"}, "/dev/full");
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("standard output"), std::string::npos) << full.err;
    // The job itself went through.
    EXPECT_NE(readBytes(stored("commodities.txt")).find("Pear"), std::string::npos);
}

TEST_F(CliScale, ClearRecordsNeedsConfirmation) {
    startScale({"--sales-count", "3", "--ack-paren"});
    RunResult unconfirmed = cli({"clear-records"});
    EXPECT_EQ(unconfirmed.exitCode, 2);
    EXPECT_NE(unconfirmed.err.find("--yes"), std::string::npos);

    RunResult cleared = cli({"clear-records", "--yes"});
    EXPECT_EQ(cleared.exitCode, 0) << cleared.err;
    EXPECT_EQ(cleared.lastLine(), "Electronic scale record clearance completed");
}

TEST_F(CliScale, RefusalsInBothLanguages) {
    writeBytes(record("sp.rec"), kCommodities);
    startScale({"--busy"});
    RunResult busy = cli({"send", "commodities"});
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_EQ(busy.lastLine(), "Electronic scales in use");

    setLanguage("chinese");
    RunResult chinese = cli({"send", "commodities"});
    EXPECT_EQ(chinese.exitCode, 1);
    EXPECT_EQ(chinese.lastLine(), "电子秤正在使用");
}

TEST_F(CliScale, DataErrorAndChineseCompletion) {
    writeBytes(record("sp.rec"), kCommodities);
    setLanguage("chinese");
    startScale({"--data-error-at", "3"});
    RunResult error = cli({"send", "commodities"});
    EXPECT_EQ(error.exitCode, 1);
    EXPECT_EQ(error.lastLine(), "数据错误");

    RunResult descriptions = cli({"send", "descriptions"});
    EXPECT_EQ(descriptions.exitCode, 0) << descriptions.err;
    EXPECT_EQ(descriptions.lastLine(), "0条数据传送完成");
}

TEST_F(CliScale, SilentScaleGetsTheEndByteAndTheNoAnswerMessage) {
    writeBytes(record("sp.rec"), kCommodities);
    startScale({"--silent-after", "1"});
    RunResult result = cli({"send", "commodities"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.lastLine(), "No answer from the Internet ports");
    const std::string log = rawLog();
    const auto last = log.rfind("recv");
    ASSERT_NE(last, std::string::npos);
    EXPECT_NE(log.find("data 0F", last), std::string::npos) << log;
}

TEST_F(CliScale, SerialLinkOverTheScalesTerminalByNameOrPath) {
    writeBytes(record("sp.rec"), kCommodities);
    startScale({"--serial"});
    const std::string& out = scale_->out();
    const auto at = out.find("serial /dev/");
    ASSERT_NE(at, std::string::npos) << out;
    const std::string device = out.substr(at + 7, out.find('\n', at) - at - 7);

    // COM4 mapped to the terminal in record/comports.rec, as the settings screen writes it.
    writeBytes(record("comports.rec"), "COM4\f" + device + "\r\n");
    RunResult mapped = cli({"--link", "serial", "--port", "COM4", "send", "commodities"});
    EXPECT_EQ(mapped.exitCode, 0) << mapped.err;
    EXPECT_EQ(mapped.lastLine(), "2Data download completed");
    EXPECT_NE(readBytes(stored("commodities.txt")).find("Pear"), std::string::npos);

    RunResult byPath = cli({"--link", "serial", "--port", device, "read-records", "--quiet"});
    EXPECT_EQ(byPath.exitCode, 0) << byPath.err;

    // A port held by another program, and one with no device behind it, fail at once.
    const UniqueFd held(::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    ASSERT_TRUE(held);
    ASSERT_EQ(::flock(held.get(), LOCK_EX | LOCK_NB), 0);
    RunResult busy = cli({"--link", "serial", "--port", "COM4", "send", "commodities"});
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_NE(busy.out.find("COM4 (" + device + ") is in use by another program"),
              std::string::npos)
        << busy.out;
    RunResult missing =
        cli({"--link", "serial", "--port", "/dev/korvan-none", "send", "commodities"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.out.find("does not exist"), std::string::npos) << missing.out;
}

TEST_F(CliScale, LinkAndInputProblemsAreReportedWithoutAJob) {
    ::setenv("KORVAN_VIRTUAL_HID", (dir_ / "no-device.sock").c_str(), 1);
    RunResult usb = cli({"--link", "usb", "send", "commodities"});
    ::unsetenv("KORVAN_VIRTUAL_HID");
    EXPECT_EQ(usb.exitCode, 1);
    EXPECT_EQ(usb.lastLine(), "USB interface failed to open") << usb.err;

    writeBytes(record("tx.rec"), "Pigeon\r\n");
    RunResult noLink = cli({"send", "commodities"});
    EXPECT_EQ(noLink.exitCode, 2);
    EXPECT_NE(noLink.err.find("--link"), std::string::npos) << noLink.err;

    std::filesystem::create_directories(record("sp.rec")); // cannot be read as a file
    RunResult unreadable = cli({"--link", "network", "send", "commodities"});
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_NE(unreadable.err.find("sp.rec"), std::string::npos) << unreadable.err;

    RunResult usage = cli({"send", "everything"});
    EXPECT_EQ(usage.exitCode, 2);
    RunResult help = cli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("read-records"), std::string::npos);
}
