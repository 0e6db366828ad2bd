// The serial channel on a pseudo-terminal: the line set-up, exclusive use, what a poll takes,
// and the reasons an open fails. The terminal's master side plays the scale.
#include "link/SerialChannel.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "common/UniqueFd.h"
#include "link/ComPorts.h"
#include "link/LinkOutcome.h"
#include "link/SerialLock.h"
#include "support/TempDir.h"

using namespace korvan;
using namespace std::chrono_literals;

namespace {

struct Pty {
    Pty() {
        int master = -1, slave = -1;
        char name[256] = {};
        if (::openpty(&master, &slave, name, nullptr, nullptr) != 0)
            throw std::runtime_error("openpty");
        scale = UniqueFd(master);
        ::close(slave); // the channel opens the terminal by its path
        path = name;
    }
    std::string readAll() {
        std::string bytes;
        char buffer[256];
        for (;;) {
            pollfd p{scale.get(), POLLIN, 0};
            if (::poll(&p, 1, 500) <= 0)
                return bytes;
            const ssize_t n = ::read(scale.get(), buffer, sizeof buffer);
            if (n <= 0)
                return bytes;
            bytes.append(buffer, static_cast<std::size_t>(n));
            if (bytes.size() >= expected)
                return bytes;
        }
    }
    UniqueFd scale;
    std::string path;
    std::size_t expected = 1;
};

} // namespace

TEST(SerialChannel, RawLineBothWaysAndHeldExclusively) {
    Pty pty;
    SerialChannel channel("COM2", pty.path);
    ASSERT_EQ(channel.open(), 0) << channel.failureText(Lang::English);

    const UniqueFd probe(::open(pty.path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    termios tio{};
    ASSERT_EQ(::tcgetattr(probe.get(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), speed_t(B9600));
    EXPECT_EQ(tio.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO), 0u);

    // CR, LF and bytes above 0x7F pass untouched in both directions.
    const std::string message("\xAA\r\n\x80\x0D\xFF", 6);
    pty.expected = message.size();
    ASSERT_EQ(channel.send(message), 0);
    EXPECT_EQ(pty.readAll(), message);
    ASSERT_EQ(::write(pty.scale.get(), "ok\r\n", 4), 4);
    PollResult polled = channel.poll(500ms, -1);
    EXPECT_EQ(polled.bytes, "ok\r\n");

    // A poll takes at most 100 bytes; the rest waits for the next one.
    const std::string long_(150, 'x');
    ASSERT_EQ(::write(pty.scale.get(), long_.data(), long_.size()), 150);
    std::string taken = channel.poll(500ms, -1).bytes;
    EXPECT_LE(taken.size(), SerialChannel::kReceiveSize);
    while (taken.size() < long_.size()) {
        const PollResult more = channel.poll(500ms, -1);
        ASSERT_FALSE(more.bytes.empty());
        taken += more.bytes;
    }
    EXPECT_EQ(taken, long_);

    // Another program cannot take the port while the job holds it.
    SerialChannel other("COM2", pty.path);
    EXPECT_EQ(other.open(), LinkCode::kSerialOpenFailed);
    EXPECT_EQ(other.failureText(Lang::English),
              "Serial port COM2 (" + pty.path + ") is in use by another program");
    channel.close();
    EXPECT_EQ(other.open(), 0) << "given back on close";
}

TEST(SerialChannel, UucpLockFilesAndProcessesThatHoldThePortOpen) {
    Pty pty;
    test::TempDir locks, proc;
    const auto lockFile = locks / SerialLock::lockName(pty.path);
    EXPECT_EQ(SerialLock::lockName("/dev/pts/3"), "LCK..pts_3");
    struct Case {
        const char* name;
        std::string lock;    // the lock file before the open ("" for none)
        bool heldOpen;       // process 4242 has the port open (as /proc shows it)
        std::string lockDir; // "" for the test's own
        std::string refusal; // "" when the open succeeds
    } cases[] = {
        {"a stale lock is replaced", "2147483647\n", false, "", ""},
        {"a live process's lock", "         1\n", false, "",
         "in use by another program (process 1)"},
        {"open elsewhere without a lock", "", true, "", "in use by another program (process 4242)"},
        {"no lock folder: no lock file", "", false, "/nonexistent/lock", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(lockFile);
        if (!c.lock.empty())
            test::writeBytes(lockFile, c.lock);
        std::filesystem::remove_all(proc / "4242");
        if (c.heldOpen) {
            std::filesystem::create_directories(proc / "4242/fd");
            std::filesystem::create_symlink(pty.path, proc / "4242/fd/7");
        }
        SerialChannel channel(
            "COM2", pty.path, ChannelTiming::serial(),
            {c.lockDir.empty() ? locks.path() : std::filesystem::path(c.lockDir), proc.path()});
        const int opened = channel.open();
        const std::string text = channel.failureText(Lang::English);
        if (c.refusal.empty()) {
            EXPECT_EQ(opened, 0) << text;
            const std::string taken = test::readBytes(lockFile); // ten characters and a newline
            EXPECT_EQ(taken.size() == 11 ? std::stoi(taken) : 0,
                      c.lockDir.empty() ? ::getpid() : 0);
            channel.close();
            EXPECT_FALSE(std::filesystem::exists(lockFile)) << "removed on close";
        } else {
            EXPECT_EQ(opened, LinkCode::kSerialOpenFailed);
            EXPECT_NE(text.find(c.refusal), std::string::npos) << text;
            EXPECT_EQ(test::readBytes(lockFile), c.lock) << "another's lock stays as it was";
        }
    }
}

TEST(SerialChannel, OpenFailuresSayWhy) {
    test::TempDir dir;
    const struct {
        std::string device;
        const char* text;
    } cases[] = {
        {(dir / "ttyNone").string(), "does not exist"},
        {"", "does not exist"},
        {"/dev/null", "is not a serial port"},
    };
    for (const auto& c : cases) {
        SerialChannel channel("COM9", c.device);
        EXPECT_EQ(channel.open(), LinkCode::kSerialOpenFailed) << c.device;
        EXPECT_NE(channel.failureText(Lang::English).find(c.text), std::string::npos)
            << channel.failureText(Lang::English);
        EXPECT_NE(channel.failureText(Lang::Chinese).find("COM9"), std::string::npos);
    }
    // A send that failed on the last job says nothing about why this open fails.
    auto pty = std::make_unique<Pty>();
    SerialChannel channel("COM9", pty->path);
    ASSERT_EQ(channel.open(), 0);
    pty.reset(); // the far side goes away, and with it the device
    EXPECT_EQ(channel.send("\xAA"), LinkCode::kSerialSendFailed);
    channel.close();
    EXPECT_EQ(channel.open(), LinkCode::kSerialOpenFailed);
    EXPECT_NE(channel.failureText(Lang::English).find("does not exist"), std::string::npos);
}

TEST(ComPorts, NamesMapToDevices) {
    EXPECT_EQ(ComPorts::number("COM1"), 1);
    EXPECT_EQ(ComPorts::number("com15"), 15);
    for (const char* bad : {"COM0", "COM16", "COM01", "COM", "COM1x", "LPT1", ""})
        EXPECT_FALSE(ComPorts::number(bad)) << bad;

    test::TempDir dir;
    const auto file = dir / "comports.rec";
    ASSERT_TRUE(ComPorts::save(file, {{"COM3", "/dev/ttyUSB0"}, {"COM12", "/dev/ttyACM1"}}).ok());
    EXPECT_EQ(test::readBytes(file), "COM3\f/dev/ttyUSB0\r\nCOM12\f/dev/ttyACM1\r\n");
    test::writeBytes(file,
                     test::readBytes(file) + "com5\f/dev/ttyS9\r\nPRN\f/dev/lp0\r\nCOM6\f\r\n");
    const auto devices = ComPorts::load(file);
    ASSERT_TRUE(devices.ok());
    EXPECT_EQ(devices.value.size(), 3u) << "lines for no port, or without a device, are skipped";
    EXPECT_EQ(ComPorts::device(devices.value, "COM3"), "/dev/ttyUSB0");
    EXPECT_EQ(ComPorts::device(devices.value, "COM5"), "/dev/ttyS9");
    EXPECT_EQ(ComPorts::device(devices.value, "COM1"), "/dev/ttyS0") << "unmapped: the default";
    EXPECT_EQ(ComPorts::device(devices.value, "COM6"), "/dev/ttyS5");
    EXPECT_EQ(ComPorts::device(devices.value, "/dev/pts/7"), "/dev/pts/7");
    EXPECT_EQ(ComPorts::device(devices.value, "PRN"), "");
    EXPECT_TRUE(ComPorts::load(dir / "missing.rec").value.empty());

    test::TempDir dev; // every default device present but /dev/ttyS6 (COM7)
    for (int n = 0; n < 15; ++n)
        test::writeBytes(dev / ("ttyS" + std::to_string(n == 6 ? 99 : n)), "");
    auto map = devices.value;
    EXPECT_EQ(ComPorts::nameFor(map, "/dev/ttyS9", dev.path()), "COM5"); // mapped already
    EXPECT_EQ(ComPorts::nameFor(map, "/dev/pts/4", dev.path()), "COM7");
    EXPECT_EQ(ComPorts::nameFor(map, "/dev/pts/5", dev.path()), "COM15"); // the highest free
    for (const std::string& name : ComPorts::names())
        map.emplace(name, "/dev/ttyUSB9");
    EXPECT_EQ(ComPorts::nameFor(map, "/dev/pts/6", dev.path()), std::nullopt);
}

TEST(ComPorts, PresentDevicesAdaptersFirstInNumberOrder) {
    test::TempDir dev;
    for (const char* name : {"ttyS10", "ttyS2", "ttyUSB1", "ttyACM0", "ttyUSB0", "tty0", "ttySx"})
        test::writeBytes(dev / name, "");
    const std::string d = dev.path().string() + "/";
    EXPECT_EQ(ComPorts::present(dev.path()),
              (std::vector<std::string>{d + "ttyUSB0", d + "ttyUSB1", d + "ttyACM0", d + "ttyS2",
                                        d + "ttyS10"}));
}
