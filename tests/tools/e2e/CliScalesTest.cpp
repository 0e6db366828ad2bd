// korvan-cli against four simulated scales at once over the loopback: two good ones, a silent
// one and a busy one, each bound to its own address.
#include "Process.h"
#include "link/UdpPeer.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

using namespace korvan::test;
using namespace std::chrono_literals;

namespace {

std::string salesLine(const std::string& name, int day) {
    return "2026-03-0" + std::to_string(day) + " 10:00\x0C" + name + "\x0C" + "1.000\x0C" +
           "5.00\x0C" + "5.00\r\n";
}

} // namespace

TEST(CliScales, OneJobOnFourScalesAtOnce) {
    TempDir dir;
    std::uint16_t localPort = 0, scalePort = 0;
    {
        UdpPeer a, b; // both held at once so they differ; free again before the programs bind
        localPort = a.port();
        scalePort = b.port();
    }
    const auto record = [&dir](const char* name) { return dir / "data" / "record" / name; };
    writeBytes(record("language.rec"), "english");
    writeBytes(record("sp.rec"), "Apple\x0C"
                                 "1001\x0C"
                                 "5.00\x0CYes\x0Cweight\x0C"
                                 "0\x0C"
                                 "7\x0CNo\x0C"
                                 "0\x0C"
                                 "3\r\n");
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
    std::vector<std::unique_ptr<Child>> scales;
    for (std::size_t i = 0; i < faults.size(); ++i) {
        std::vector<std::string> argv = {KORVAN_SCALE_PROGRAM,
                                         "--store",
                                         (dir / ("store" + std::to_string(i))).string(),
                                         "--bind",
                                         "127.0.0." + std::to_string(i + 2),
                                         "--port",
                                         std::to_string(scalePort),
                                         "--reply-port",
                                         std::to_string(localPort),
                                         "--probe-port",
                                         "0",
                                         "--quiet"};
        argv.insert(argv.end(), faults[i].begin(), faults[i].end());
        scales.push_back(std::make_unique<Child>(argv));
        ASSERT_TRUE(scales.back()->waitForLine("listening", 5s)) << scales.back()->err();
    }
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
        EXPECT_NE(readBytes(dir / ("store" + std::to_string(i)) / "commodities.txt")
                      .find("Apple\t1001\t5.00\tYes\tweight"),
                  std::string::npos);
    for (int i = 2; i < 4; ++i)
        EXPECT_FALSE(
            std::filesystem::exists(dir / ("store" + std::to_string(i)) / "commodities.txt"));

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
