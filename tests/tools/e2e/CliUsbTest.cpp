// korvan-cli against korvan-scale's virtual USB device (and the link tests over every link).
#include "Process.h"
#include "common/RecordFile.h"
#include "common/TextCodec.h"
#include "link/UdpPeer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <thread>

#include <cstdlib>
#include <memory>

using namespace korvan;
using namespace korvan::test;
using namespace std::chrono_literals;

namespace {

// A commodity whose full record is longer than one report.
const std::string kLongCommodities = "Apple\x0C"
                                     "1001\x0C"
                                     "5.00\x0CYes\x0Cweight\x0C"
                                     "0\x0C"
                                     "7\x0CNo\x0C"
                                     "0\x0C"
                                     "3\r\n"
                                     "Organic green asparagus from the valley, bunch\x0C"
                                     "1002\x0C"
                                     "13.80\x0CNo\x0Cquantity\x0C"
                                     "0\x0C"
                                     "3\x0CYes\x0C"
                                     "0\x0C"
                                     "3\r\n";

class CliUsb : public ::testing::Test {
protected:
    void SetUp() override {
        UdpPeer a, b, c;
        localPort_ = a.port();
        scalePort_ = b.port();
        probePort_ = c.port();
        writeBytes(record("tx.rec"), "Network\r\nCOM1\r\n127.0.0.1\r\n");
        writeBytes(record("language.rec"), "english");
        announce({socket()});
    }
    void TearDown() override {
        ::unsetenv("KORVAN_VIRTUAL_HID");
        for (auto* child : {&scale_, &foreign_})
            if (*child) {
                (*child)->terminate();
                (*child)->wait(5s);
            }
    }

    std::filesystem::path record(const std::string& name) {
        return dir_ / "data" / "record" / name;
    }
    std::filesystem::path stored(const std::string& name) { return dir_ / "store" / name; }
    std::string socket() { return stored("usb.sock").string(); }
    // The virtual devices korvan-cli (a child process) lists, in this order.
    void announce(const std::vector<std::string>& paths) {
        std::string value;
        for (const std::string& path : paths)
            value += (value.empty() ? "" : ":") + path;
        ::setenv("KORVAN_VIRTUAL_HID", value.c_str(), 1);
    }

    std::unique_ptr<Child> startProgram(const std::filesystem::path& store,
                                        std::vector<std::string> extra) {
        std::vector<std::string> argv = {KORVAN_SCALE_PROGRAM,
                                         "--store",
                                         store.string(),
                                         "--port",
                                         std::to_string(scalePort_),
                                         "--reply-port",
                                         std::to_string(localPort_),
                                         "--probe-port",
                                         std::to_string(probePort_),
                                         "--quiet",
                                         "--usb"};
        argv.insert(argv.end(), extra.begin(), extra.end());
        auto child = std::make_unique<Child>(argv);
        EXPECT_TRUE(child->waitForLine("listening", 5s)) << child->err();
        return child;
    }
    void startScale(std::vector<std::string> extra = {}) {
        scale_ = startProgram(dir_ / "store", std::move(extra));
        ASSERT_NE(scale_->out().find("usb " + socket() + "\n"), std::string::npos) << scale_->out();
    }

    RunResult cli(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {
            KORVAN_CLI_PROGRAM,         "--data-dir",   (dir_ / "data").string(),   "--local-port",
            std::to_string(localPort_), "--scale-port", std::to_string(scalePort_), "--probe-port",
            std::to_string(probePort_)};
        argv.insert(argv.end(), args.begin(), args.end());
        return run(argv, 60s);
    }

    TempDir dir_;
    std::uint16_t localPort_ = 0, scalePort_ = 0, probePort_ = 0;
    std::unique_ptr<Child> scale_, foreign_;
};

std::string fileOf(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + 3) % 256); // zeros inside blocks too
    return bytes;
}

} // namespace

TEST_F(CliUsb, TheSameDownloadOverEveryLinkStoresTheSameRecords) {
    writeBytes(record("sp.rec"), kLongCommodities);
    startScale({"--serial"});
    const std::string& out = scale_->out();
    const auto at = out.find("serial /dev/");
    ASSERT_NE(at, std::string::npos) << out;
    const std::string terminal = out.substr(at + 7, out.find('\n', at) - at - 7);

    RunResult network = cli({"--link", "network", "send", "commodities"});
    ASSERT_EQ(network.exitCode, 0) << network.err;
    const std::string overNetwork = readBytes(stored("commodities.txt"));
    EXPECT_NE(overNetwork.find("Organic green asparagus from the valley, bunch"),
              std::string::npos);
    for (const std::vector<std::string>& link :
         {std::vector<std::string>{"--link", "usb"},
          std::vector<std::string>{"--link", "serial", "--port", terminal}}) {
        std::filesystem::remove(stored("commodities.txt"));
        std::vector<std::string> args = link;
        args.insert(args.end(), {"send", "commodities"});
        RunResult result = cli(args);
        EXPECT_EQ(result.exitCode, 0) << link[1] << result.err;
        EXPECT_EQ(result.lastLine(), "2Data download completed") << link[1];
        EXPECT_EQ(readBytes(stored("commodities.txt")), overNetwork) << link[1];
    }
}

TEST_F(CliUsb, ReadRecordsTakesLinesLongerThanOneReportAndClearRecords) {
    const std::string sales = "2026-03-01 10:00\x0C"
                              "Apple\x0C"
                              "1.250\x0C"
                              "5.00\x0C"
                              "6.25\r\n"
                              "2026-03-02 11:00\x0C"
                              "Organic green asparagus from the valley, bunch of twelve spears\x0C"
                              "2\x0C"
                              "13.80\x0C"
                              "27.60\r\n";
    writeBytes(dir_ / "sales.rec", sales);
    startScale({"--sales", (dir_ / "sales.rec").string()});
    RunResult read = cli({"--link", "usb", "read-records"});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, "2Data download completed\n2 new, 0 already there\n");
    EXPECT_EQ(readBytes(record("dzcjl.rec")), sales);

    RunResult cleared = cli({"--link", "usb", "clear-records", "--yes"});
    EXPECT_EQ(cleared.exitCode, 0) << cleared.err;
    EXPECT_EQ(cleared.lastLine(), "Electronic scale record clearance completed");
}

TEST_F(CliUsb, UpdateFindsTheScaleAgainAndSendsZeroFilledBlocks) {
    startScale();
    // The saved link is the network; the update goes over USB all the same.
    const std::string image = fileOf(1000);
    writeBytes(dir_ / "a.bin", image);
    RunResult update = cli({"update", (dir_ / "a.bin").string()});
    EXPECT_EQ(update.exitCode, 0) << update.err;
    EXPECT_EQ(update.lastLine(), "1000Data download completed");
    // The device restarts for 1.5 s: the first search a second after "(" misses it.
    EXPECT_NE(update.err.find("Program updates: In connection.."), std::string::npos) << update.err;
    EXPECT_EQ(readBytes(stored("image.bin")), image + std::string(24, '\0'));
    EXPECT_EQ(readBytes(record("tx.rec")), "Network\r\nCOM1\r\n127.0.0.1\r\n");

    for (std::size_t size : {128u, 129u}) {
        const std::string bytes = fileOf(size);
        writeBytes(dir_ / "b.bin", bytes);
        RunResult sized = cli({"--quiet", "update", (dir_ / "b.bin").string()});
        EXPECT_EQ(sized.exitCode, 0) << size << sized.err;
        EXPECT_EQ(sized.lastLine(), std::to_string(size) + "Data download completed");
        const std::size_t blocks = (size + 63) / 64;
        EXPECT_EQ(readBytes(stored("image.bin")), bytes + std::string(blocks * 64 - size, '\0'))
            << size;
    }
}

TEST_F(CliUsb, AnotherDeviceListedFirstIsPassedOver) {
    writeBytes(record("sp.rec"), kLongCommodities);
    const std::filesystem::path other = dir_ / "other";
    foreign_ = startProgram(other, {"--usb-id", "046d:c077", "--usb-product", "Mouse", "--port",
                                    "0", "--probe-port", "0"});
    announce({(other / "usb.sock").string(), socket()});
    startScale();
    RunResult usb = cli({"--link", "usb", "send", "commodities"});
    EXPECT_EQ(usb.exitCode, 0) << usb.err;
    EXPECT_NE(readBytes(stored("commodities.txt")).find("1002"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(other / "commodities.txt"));

    // With the scale gone, only the other device is there: 211.
    scale_->terminate();
    scale_->wait(5s);
    scale_.reset();
    RunResult none = cli({"--link", "usb", "send", "commodities"});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.lastLine(), "USB interface failed to open");
}

TEST_F(CliUsb, AScaleThatStopsAnsweringGetsTheEndByteAnd214) {
    writeBytes(record("sp.rec"), kLongCommodities);
    startScale({"--silent-after", "2"});
    const auto start = std::chrono::steady_clock::now();
    RunResult silent = cli({"--link", "usb", "send", "commodities"});
    EXPECT_GE(std::chrono::steady_clock::now() - start, 5s); // the whole read wait
    EXPECT_EQ(silent.exitCode, 1);
    EXPECT_EQ(silent.lastLine(), "USB interface did not respond");
    // The scale logs the end byte on its own time: wait for it rather than read at once.
    std::string log;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    for (;;) {
        log = readBytes(stored("raw.log"));
        const auto last = log.rfind("recv");
        if (last != std::string::npos && log.find(" usb 0F", last) != std::string::npos)
            break;
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << log;
        std::this_thread::sleep_for(20ms);
    }
}

TEST_F(CliUsb, TestLinkOverEveryLinkStoresTheSettingsAsTheScreenDoes) {
    startScale({"--serial"});
    const std::string& out = scale_->out();
    const auto at = out.find("serial /dev/");
    ASSERT_NE(at, std::string::npos) << out;
    const std::string device = out.substr(at + 7, out.find('\n', at) - at - 7);
    writeBytes(record("comports.rec"), "COM4\f" + device + "\r\n");

    // Serial: the probe answered on the terminal; the settings are stored.
    RunResult serial = cli({"--link", "serial", "--port", "COM4", "test-link"});
    EXPECT_EQ(serial.exitCode, 0) << serial.err;
    EXPECT_EQ(serial.lastLine(), "Successful");
    EXPECT_EQ(readBytes(record("tx.rec")), "SerialPort\r\nCOM4\r\n127.0.0.1\r\n");

    // Network: the probe goes to the test port; a failed test stores nothing.
    RunResult network = cli({"--link", "network", "test-link"});
    EXPECT_EQ(network.exitCode, 0) << network.err;
    EXPECT_EQ(network.lastLine(), "Successful");
    EXPECT_EQ(readBytes(record("tx.rec")), "Network\r\nCOM4\r\n127.0.0.1\r\n");
    RunResult wrongPort = cli({"--link", "network", "--probe-port", std::to_string(scalePort_),
                               "--ip", "127.0.0.2", "test-link"});
    EXPECT_EQ(wrongPort.exitCode, 1);
    EXPECT_EQ(wrongPort.lastLine(), "Test failed");
    EXPECT_EQ(readBytes(record("tx.rec")), "Network\r\nCOM4\r\n127.0.0.1\r\n");

    // USB: the device info and the answer; stored in the language's names.
    writeBytes(record("language.rec"), "chinese");
    RunResult usb = cli({"--link", "usb", "test-link"});
    EXPECT_EQ(usb.exitCode, 0) << usb.err;
    EXPECT_EQ(usb.lastLine(), "测试成功");
    EXPECT_NE(usb.err.find("发现USB设备\r\nKorvan virtual scale\r\n设备有效"), std::string::npos)
        << usb.err;
    EXPECT_EQ(readBytes(record("tx.rec")),
              TextCodec::toGbk("USB通讯").value() + "\r\nCOM4\r\n127.0.0.1\r\n");

    announce({(dir_ / "nothing.sock").string()});
    RunResult absent = cli({"--link", "usb", "test-link"});
    EXPECT_EQ(absent.exitCode, 1);
    EXPECT_EQ(absent.lastLine(), "不能发现USB接口设备");
}

TEST_F(CliUsb, TestLinkReportsABusyScale) {
    startScale({"--busy"});
    RunResult usb = cli({"--link", "usb", "test-link"});
    EXPECT_EQ(usb.exitCode, 1);
    EXPECT_EQ(usb.lastLine(), "The scale is in use");
    // The USB test stores the settings whatever the answer.
    EXPECT_EQ(readBytes(record("tx.rec")), "USB\r\nCOM1\r\n127.0.0.1\r\n");
    RunResult network = cli({"--link", "network", "test-link"});
    EXPECT_EQ(network.exitCode, 1);
    EXPECT_EQ(network.lastLine(), "The scale is in use");
}
