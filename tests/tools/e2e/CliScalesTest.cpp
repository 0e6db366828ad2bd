// korvan-cli against four simulated scales at once over the loopback: two good ones, a silent
// one and a busy one, each bound to its own address.
#include "Process.h"
#include "support/ScaleProcess.h"

#include <gtest/gtest.h>

#include <memory>

using namespace korvan::test;
using namespace std::chrono_literals;

namespace {

const std::string kCommodity = "Apple\f1001\f5.00\fYes\fweight\f0\f7\fNo\f0\f3\r\n";
const std::string kStored = "Apple\t1001\t5.00\tYes\tweight"; // as the scale's store shows it

std::string salesLine(const std::string& name, int day) {
    return "2026-03-0" + std::to_string(day) + " 10:00\x0C" + name + "\x0C" + "1.000\x0C" +
           "5.00\x0C" + "5.00\r\n";
}

} // namespace

TEST(CliScales, OneJobOnFourScalesAtOnce) {
    TempDir dir;
    const auto record = [&dir](const char* name) { return dir / "data" / "record" / name; };
    writeBytes(record("language.rec"), "english");
    writeBytes(record("sp.rec"), kCommodity);
    writeBytes(record("scales.rec"), "produce\x0CNetwork\x0C\x0C"
                                     "127.0.0.2\r\n"
                                     "deli\x0CNetwork\x0C\x0C"
                                     "127.0.0.3\r\n"
                                     "meat\x0CNetwork\x0C\x0C"
                                     "127.0.0.4\r\n"
                                     "bakery\x0CNetwork\x0C\x0C"
                                     "127.0.0.5\r\n");
    // Each good scale serves sales of its own, in pieces and slowly, so both reads overlap.
    std::string sales[2];
    for (int i = 0; i < 2; ++i) {
        for (int day = 1; day <= 3; ++day)
            sales[i] += salesLine(i == 0 ? "Produce" : "Deli", day);
        writeBytes(dir / ("sales" + std::to_string(i)), sales[i]);
    }
    const std::vector<std::vector<std::string>> faults = {
        {"--sales", (dir / "sales0").string(), "--split-lines", "3", "--delay-ms", "20"},
        {"--sales", (dir / "sales1").string(), "--split-lines", "3", "--delay-ms", "20"},
        {"--silent-after", "0"},
        {"--busy"}};
    const auto scales = ScaleProcess::sideBySide(KORVAN_SCALE_PROGRAM, faults);
    const std::uint16_t localPort = scales[0]->reply, scalePort = scales[0]->port;
    const auto cli = [&](std::vector<std::string> args) {
        std::vector<std::string> argv = {
            KORVAN_CLI_PROGRAM,        "--data-dir",   (dir / "data").string(),   "--local-port",
            std::to_string(localPort), "--scale-port", std::to_string(scalePort), "-q"};
        argv.insert(argv.end(), args.begin(), args.end());
        return run(argv, 60s);
    };

    RunResult sent = cli({"--scale", "all", "send", "commodities"});
    EXPECT_EQ(sent.exitCode, 1) << sent.err;
    EXPECT_EQ(sent.out, "produce: 1Data download completed\n"
                        "deli: 1Data download completed\n"
                        "meat: No answer from the Internet ports\n"
                        "bakery: Electronic scales in use\n"
                        "2 of 4 scales completed\n");
    for (int i = 0; i < 2; ++i)
        EXPECT_NE(scales[i]->read("commodities.txt").find(kStored), std::string::npos);
    for (int i = 2; i < 4; ++i)
        EXPECT_FALSE(std::filesystem::exists(scales[i]->store / "commodities.txt"));

    // Both reads run at once; each scale's lines land together, in the list's order.
    RunResult read = cli({"--scale", "deli", "--scale", "produce", "read-records"});
    EXPECT_EQ(read.exitCode, 0) << read.err;
    EXPECT_EQ(read.out, "deli: 3Data download completed\n"
                        "deli: 3 new, 0 already there\n"
                        "produce: 3Data download completed\n"
                        "produce: 3 new, 0 already there\n"
                        "2 of 2 scales completed\n");
    EXPECT_EQ(readBytes(record("dzcjl.rec")), sales[1] + sales[0]);

    RunResult unknown = cli({"--scale", "fish", "read-records"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("known: produce, deli, meat, bakery"), std::string::npos)
        << unknown.err;
}

// Two serial scales (one by its COM name, one by its terminal) and two USB scales told apart by
// their device paths, all at once: each job must open its own port or device.
TEST(CliScales, SerialAndUsbScalesSideBySide) {
    TempDir dir;
    const auto record = [&dir](const char* name) { return dir / "data" / "record" / name; };
    writeBytes(record("language.rec"), "english");
    writeBytes(record("sp.rec"), kCommodity);
    const std::vector<std::pair<std::string, std::string>> table = {
        {"till1", "--serial"}, {"till2", "--serial"}, {"usb1", "--usb"}, {"usb2", "--usb"}};
    std::vector<std::unique_ptr<ScaleProcess>> scales;
    std::string list, sales[4], hid;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& [name, link] = table[i];
        for (int day = 1; day <= static_cast<int>(i) + 1; ++day)
            sales[i] += salesLine(name, day);
        writeBytes(dir / name, sales[i]);
        scales.push_back(std::make_unique<ScaleProcess>(
            KORVAN_SCALE_PROGRAM,
            std::vector<std::string>{"--sales", dir / name, "--quiet", link}));
        const Child& scale = *scales.back()->child;
        const std::string socket = (scales.back()->store / "usb.sock").string();
        std::string port = socket;
        if (link == "--serial") {
            const auto at = scale.out().find("serial /dev/");
            ASSERT_NE(at, std::string::npos) << scale.out();
            port = scale.out().substr(at + 7, scale.out().find('\n', at) - at - 7);
            if (i == 0) { // the first one by the COM name the port map gives its terminal
                writeBytes(record("comports.rec"), "COM4\f" + port + "\r\n");
                port = "COM4";
            }
        } else {
            hid += (hid.empty() ? "" : ":") + socket;
        }
        list += name + "\f" + (link == "--serial" ? "SerialPort" : "USB") + "\f" + port + "\f\r\n";
    }
    writeBytes(record("scales.rec"), list);
    ::setenv("KORVAN_VIRTUAL_HID", hid.c_str(), 1);
    const auto cli = [&](std::vector<std::string> args) {
        args.insert(args.begin(),
                    {KORVAN_CLI_PROGRAM, "--data-dir", (dir / "data").string(), "-q"});
        return run(args, 60s);
    };

    RunResult sent = cli({"--scale", "all", "send", "commodities"});
    EXPECT_EQ(sent.exitCode, 0) << sent.err;
    EXPECT_EQ(sent.out, "till1: 1Data download completed\ntill2: 1Data download completed\n"
                        "usb1: 1Data download completed\nusb2: 1Data download completed\n"
                        "4 of 4 scales completed\n");
    for (std::size_t i = 0; i < table.size(); ++i) // each device got its own job
        EXPECT_NE(scales[i]->read("commodities.txt").find(kStored), std::string::npos)
            << table[i].first;

    RunResult read = cli({"--scale", "all", "read-records"});
    ::unsetenv("KORVAN_VIRTUAL_HID");
    EXPECT_EQ(read.exitCode, 0) << read.err;
    std::string lines;
    for (std::size_t i = 0; i < table.size(); ++i)
        lines += table[i].first + ": " + std::to_string(i + 1) + "Data download completed\n" +
                 table[i].first + ": " + std::to_string(i + 1) + " new, 0 already there\n";
    EXPECT_EQ(read.out, lines + "4 of 4 scales completed\n");
    EXPECT_EQ(readBytes(record("dzcjl.rec")), sales[0] + sales[1] + sales[2] + sales[3]);
}
