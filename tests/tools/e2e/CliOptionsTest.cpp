// The command line's own pieces, in process: option parsing and help, the whole program's exit
// statuses, the progress display and the date and time option.
#include "CliCommand.h"
#include "CliMain.h"
#include "CliOptions.h"
#include "CliProgress.h"
#include "common/UniqueFd.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <poll.h>
#include <pty.h>
#include <chrono>
#include <thread>
#include <tuple>
#include <sstream>

using namespace korvan;
using namespace korvan::cli;
using namespace std::chrono_literals;

namespace {

CliOptions options(std::vector<std::string> args) {
    const CliParse parsed = CliParse::parse(args);
    EXPECT_EQ(parsed.kind, CliParse::Kind::Run) << parsed.text;
    return parsed.options;
}

struct CliRunResult {
    int status = -1;
    std::string out;
    std::string err;
};

CliRunResult runIn(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    CliRunResult run;
    run.status = runCli(args, out, err, false);
    run.out = out.str();
    run.err = err.str();
    return run;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string word; in >> word;)
        result.push_back(word);
    return result;
}

const std::vector<std::string> kCommandPaths = {
    "send commodities", "send descriptions",  "send store-name",
    "send shop-phone",  "send store-address", "send datetime",
    "send label",       "read-records",       "clear-records --yes"};

} // namespace

TEST(CliOptions, EveryCommandIsRecognised) {
    std::vector<std::pair<std::string, std::string>> typed; // the line, the command it names
    for (const std::string& path : kCommandPaths)
        typed.emplace_back(path, path.substr(0, path.find(" --")));
    typed.insert(typed.end(), {{"send label x.bel --ip 10.0.0.9", "send label"},
                               {"update new.bin", "update"},
                               {"test-link --probe-port 11025", "test-link"}});
    for (const auto& [line, command] : typed) {
        const CliParse parsed = CliParse::parse(words(line));
        ASSERT_EQ(parsed.kind, CliParse::Kind::Run) << line << ": " << parsed.text;
        EXPECT_NE(parsed.command, nullptr) << line;
        EXPECT_EQ(parsed.helpPrefix, "korvan-cli " + command) << line;
    }
    EXPECT_EQ(options({"send", "label", "x.bel", "--ip", "10.0.0.9"}).ip, "10.0.0.9");
    EXPECT_EQ(options({"test-link", "--probe-port", "11025"}).probePort, 11025);
}

TEST(CliOptions, OptionsTakeTheirValueEitherWayAndGlobalOnesGoAnywhere) {
    struct Case {
        std::string command;
        std::string option;
        std::string value;
        std::function<bool(const CliOptions&)> holds;
    };
    const std::vector<Case> cases = {
        {"read-records", "--data-dir", "/d", [](auto& o) { return o.dataDir == "/d"; }},
        {"read-records", "--link", "serial", [](auto& o) { return o.link == LinkMode::Serial; }},
        {"read-records", "--link", "usb", [](auto& o) { return o.link == LinkMode::Usb; }},
        {"read-records", "--ip", "10.1.2.3", [](auto& o) { return o.ip == "10.1.2.3"; }},
        {"read-records", "--port", "COM15", [](auto& o) { return o.port == "COM15"; }},
        {"read-records", "--local-port", "17000", [](auto& o) { return o.localPort == 17000; }},
        {"read-records", "--scale-port", "18000", [](auto& o) { return o.scalePort == 18000; }},
    };
    for (const Case& c : cases) {
        const bool global = c.command == "read-records";
        std::vector<std::vector<std::string>> spellings;
        std::vector<std::string> spaced = words(c.command), joined = words(c.command);
        spaced.insert(spaced.end(), {c.option, c.value});
        joined.push_back(c.option + "=" + c.value);
        spellings = {spaced, joined};
        if (global) { // before the command as well
            std::vector<std::string> before = {c.option, c.value, c.command};
            spellings.push_back(before);
        }
        for (const auto& args : spellings)
            EXPECT_TRUE(c.holds(options(args))) << c.option << " " << c.value;
    }

    const CliOptions defaults = options({"send", "commodities"});
    EXPECT_EQ(defaults.localPort, 7000);
    EXPECT_EQ(defaults.scalePort, 8000);
    EXPECT_FALSE(defaults.link);
    EXPECT_FALSE(defaults.quiet);
    EXPECT_TRUE(options({"-q", "read-records"}).quiet);
    EXPECT_TRUE(options({"read-records", "--quiet"}).quiet);
    // Given twice, the last value counts (a script may override what it passed first).
    EXPECT_EQ(options({"--ip", "10.0.0.1", "read-records", "--ip=10.0.0.2"}).ip, "10.0.0.2");
}

TEST(CliOptions, UsageErrorsSayWhatIsWrong) {
    const std::vector<std::pair<std::string, std::string>> wrong = {
        {"", "no command given"},
        {"send", "no command given for korvan-cli send"},
        {"send layout", "unknown command 'layout'"},
        {"clear-records", "--yes"},
        {"read-records --yes", "'--yes'"},
        {"send descriptions --family vamo", "'--family vamo'"},
        {"send commodities --family other", "--family"},
        {"read-records --at 2026-01-01", "'--at 2026-01-01'"},
        {"send datetime --at=2026-02-30", "--at"},
        {"read-records --ip scale.local", "--ip"},
        {"read-records --port COM16", "--port"},
        {"read-records --local-port 70000", "--local-port"},
        {"read-records --local-port 0", "--local-port"},
        {"read-records --scale-port", "--scale-port needs a value"},
        {"read-records --verbose", "--verbose"},
        {"send commodities extra", "'extra'"},
        {"update", "file is required"},
        {"test-link --probe-port 0", "--probe-port"},
    };
    for (const auto& [args, hint] : wrong) {
        const CliParse parsed = CliParse::parse(words(args));
        EXPECT_EQ(parsed.kind, CliParse::Kind::UsageError) << args;
        EXPECT_NE(parsed.text.find(hint), std::string::npos) << args << ": " << parsed.text;
        // The whole program: a usage error is status 2, explained on stderr only.
        const CliRunResult run = runIn(words(args));
        EXPECT_EQ(run.status, kExitUsage) << args;
        EXPECT_EQ(run.out, "") << args;
        EXPECT_NE(run.err.find(hint), std::string::npos) << args << ": " << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << args;
    }
}

TEST(CliOptions, EveryCommandRefusesAnUnknownOption) {
    for (const std::string& path : kCommandPaths) {
        for (const char* unknown : {"--verbose", "--verbose=1", "-x"}) {
            std::vector<std::string> args = words(path);
            args.push_back(unknown);
            const CliRunResult run = runIn(args);
            EXPECT_EQ(run.status, kExitUsage) << path << " " << unknown;
            EXPECT_NE(run.err.find(unknown), std::string::npos) << run.err;
        }
    }
}

TEST(CliOptions, EveryCommandHasItsOwnHelp) {
    std::vector<std::string> paths = {"", "send"};
    for (const std::string& path : kCommandPaths)
        paths.push_back(path.substr(0, path.find(" --")));
    for (const std::string& path : paths) {
        for (const char* flag : {"--help", "-h"}) {
            std::vector<std::string> args = words(path);
            args.push_back(flag);
            const CliRunResult run = runIn(args);
            EXPECT_EQ(run.status, kExitDone) << path;
            EXPECT_EQ(run.err, "") << path;
            const std::string usage = "Usage: korvan-cli" + (path.empty() ? "" : " " + path);
            EXPECT_NE(run.out.find(usage + " [OPTIONS]"), std::string::npos) << run.out;
        }
    }
    // Help needs no --yes and no data directory.
    EXPECT_NE(runIn({"clear-records", "--help"}).out.find("--yes"), std::string::npos);
    EXPECT_NE(runIn({"send", "datetime", "--help"}).out.find("--at"), std::string::npos);
    EXPECT_NE(runIn({"--help"}).out.find("--quiet"), std::string::npos);
}

TEST(CliRun, AnOutcomeThatCannotBeWrittenIsAFailure) {
    // A stream that refuses every byte, as stdout does on a full disk.
    struct Refusing : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } refusing;
    std::ostream out(&refusing);
    std::ostringstream err;
    EXPECT_EQ(runCli({"--help"}, out, err, false), kExitFailed);
    EXPECT_NE(err.str().find("standard output"), std::string::npos) << err.str();
}

TEST(CliRun, ProblemsBeforeTheJobHaveTheirOwnStatus) {
    test::TempDir dir;
    const DataDir data(dir.path());
    test::writeBytes(data.record("tx.rec"), "Pigeon\r\n");
    const std::string at = dir.path().string();

    CliRunResult noLink = runIn({"--data-dir", at, "send", "commodities"});
    EXPECT_EQ(noLink.status, kExitUsage);
    EXPECT_NE(noLink.err.find("--link"), std::string::npos) << noLink.err;

    CliRunResult usb = runIn({"--data-dir=" + at, "send", "commodities", "--link=usb", "--quiet"});
    EXPECT_EQ(usb.status, kExitFailed);
    EXPECT_EQ(usb.out, "USB interface failed to open\n") << usb.err; // no scale attached

    // The update needs no link in record/tx.rec: it always goes over USB. An image that cannot
    // be read is an input file like any other; an empty one is refused before the hello byte.
    test::writeBytes(dir / "empty.bin", "");
    for (const auto& [image, status, text] : std::vector<std::tuple<std::string, int, std::string>>{
             {"none.bin", kExitUsage, "none.bin: No such file"},
             {"", kExitUsage, "not a regular file"},
             {"empty.bin", kExitFailed, "The program file is empty: nothing to update"}}) {
        CliRunResult update = runIn({"--data-dir", at, "update", (dir / image).string()});
        EXPECT_EQ(update.status, status) << image;
        EXPECT_NE((update.out + update.err).find(text), std::string::npos) << update.err;
    }

    std::filesystem::create_directories(data.record("spsm.rec"));
    CliRunResult unreadable =
        runIn({"send", "descriptions", "--data-dir", at, "--link", "network"});
    EXPECT_EQ(unreadable.status, kExitUsage);
    EXPECT_NE(unreadable.err.find("spsm.rec"), std::string::npos) << unreadable.err;
    EXPECT_EQ(unreadable.out, "");
}

TEST(CliRun, ASerialTestStoresADevicePathByItsComName) {
    int master = -1, slave = -1;
    char name[256] = {};
    ASSERT_EQ(::openpty(&master, &slave, name, nullptr, nullptr), 0);
    ::close(slave); // the scale's end is the master; the port is free for the test
    const UniqueFd scale(master);
    std::thread answer([&] { // the probe back, as a scale that passes the test
        // Until the port is opened the master only reports a hang-up: wait for the probe itself.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{scale.get(), POLLIN, 0};
            char probe = 0;
            if (::poll(&p, 1, 100) == 1 && (p.revents & POLLIN) &&
                ::read(scale.get(), &probe, 1) == 1) {
                EXPECT_EQ(::write(scale.get(), &probe, 1), 1);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    test::TempDir dir;
    const DataDir data(dir.path());
    const std::string at = dir.path().string();
    CliRunResult run = runIn({"--data-dir", at, "--link", "serial", "--port", name, "test-link"});
    answer.join();
    EXPECT_EQ(run.status, kExitDone) << run.out << run.err;
    const std::string map = test::readBytes(data.record("comports.rec"));
    EXPECT_EQ(map.substr(map.find('\f')), "\f" + std::string(name) + "\r\n");
    EXPECT_NE(
        test::readBytes(data.record("tx.rec")).find("\n" + map.substr(0, map.find('\f')) + "\r\n"),
        std::string::npos);

    // A port map that cannot be read is no map: the COM name's device is unknown.
    std::filesystem::remove(data.record("comports.rec"));
    std::filesystem::create_directories(data.record("comports.rec"));
    CliRunResult unreadable = runIn({"--data-dir", at, "--link", "serial", "test-link"});
    EXPECT_EQ(unreadable.status, kExitUsage);
    EXPECT_NE(unreadable.err.find("comports.rec"), std::string::npos) << unreadable.err;
}

TEST(CliProgress, LinesAtMostOnceASecondAndTheLastCountAlways) {
    std::ostringstream out;
    std::chrono::steady_clock::time_point now{};
    CliProgress progress(out, CliProgress::Display::Lines, "T", [&now] { return now; });
    for (int i = 1; i <= 2000; ++i) {
        progress.progress({i, 2000, std::to_string(i)});
        now += 1ms;
    }
    progress.finished({});
    EXPECT_EQ(out.str(), "T: 1 (1/2000)\n"
                         "T: 1001 (1001/2000)\n"
                         "T: 2000 (2000/2000)\n");
}

TEST(CliProgress, TheBarIsRedrawnTenTimesASecondAtMost) {
    std::ostringstream out;
    std::chrono::steady_clock::time_point now{};
    CliProgress progress(out, CliProgress::Display::Bar, "T", [&now] { return now; });
    for (int i = 1; i <= 1000; ++i) {
        progress.progress({i, 1000, std::to_string(i)});
        now += 1ms;
    }
    progress.finished({});
    const std::string text = out.str();
    // Redraws at 0, 100, ... 900 ms, then the last count at the end.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 11);
    EXPECT_NE(text.find("[" + std::string(30, '#') + "] 1000 \n"), std::string::npos) << text;
}

TEST(CliProgress, ANoteGoesAboveTheBarWhichIsDrawnAgain) {
    std::ostringstream out;
    CliProgress progress(out, CliProgress::Display::Bar, "T");
    progress.progress({5, 10, "5"});
    progress.note("a: done", {6, 10, "6"});
    const auto bar = [](int filled, const char* count) {
        return "\rT [" + std::string(filled, '#') + std::string(30 - filled, ' ') + "] " + count +
               " ";
    };
    EXPECT_EQ(out.str(), bar(15, "5") + "\r\033[Ka: done\n" + bar(18, "6"));
}

TEST(CliProgress, QuietShowsNothing) {
    std::ostringstream out;
    CliProgress progress(out, CliProgress::Display::None, "T");
    progress.progress({1, 1, "1"});
    progress.finished({});
    EXPECT_EQ(out.str(), "");
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

TEST(CliRun, PrintsTheDataDirectoryWithoutACommand) {
    test::TempDir dir;
    CliRunResult given = runIn({"--print-data-dir", "--data-dir", dir.path().string()});
    EXPECT_EQ(given.status, kExitDone);
    EXPECT_EQ(given.out, dir.path().string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "record")) << "printing creates nothing";
    // Without it a command is still required.
    CliRunResult none = runIn({"--data-dir", dir.path().string()});
    EXPECT_EQ(none.status, kExitUsage);
    EXPECT_NE(none.err.find("no command given"), std::string::npos) << none.err;
}
