// The korvan-scale program itself: what scripts and end-to-end tests rely on.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "common/UniqueFd.h"
#include "support/TempDir.h"

using korvan::UniqueFd;
using korvan::test::readBytes;
using korvan::test::TempDir;

namespace {

// A UDP socket on a free loopback port, standing for the PC.
struct Pc {
    UniqueFd fd{::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)};
    std::uint16_t port = 0;

    Pc() {
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(fd.get(), reinterpret_cast<sockaddr*>(&local), sizeof local);
        socklen_t length = sizeof local;
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&local), &length);
        port = ntohs(local.sin_port);
    }

    std::string exchange(std::uint16_t scalePort, const std::string& bytes) const {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(scalePort);
        ::sendto(fd.get(), bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to),
                 sizeof to);
        pollfd p{fd.get(), POLLIN, 0};
        if (::poll(&p, 1, 3000) != 1)
            return "(no answer)";
        char buffer[256];
        const ssize_t got = ::recv(fd.get(), buffer, sizeof buffer, 0);
        return got < 0 ? "(error)" : std::string(buffer, static_cast<std::size_t>(got));
    }
};

// A port that was free a moment ago (the program takes fixed ports on its command line).
std::uint16_t freePort() {
    Pc probe;
    return probe.port;
}

class Program {
public:
    explicit Program(std::vector<std::string> args) {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            std::vector<char*> argv;
            static std::string program = KORVAN_SCALE_PROGRAM;
            argv.push_back(program.data());
            for (auto& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        out_.reset(out[0]);
    }
    ~Program() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    // The next line on stdout, or "(timeout)".
    std::string line(int timeoutMs = 5000) {
        while (true) {
            if (auto end = buffer_.find('\n'); end != std::string::npos) {
                std::string text = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return text;
            }
            pollfd p{out_.get(), POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) != 1)
                return "(timeout)";
            char chunk[256];
            const ssize_t got = ::read(out_.get(), chunk, sizeof chunk);
            if (got <= 0)
                return "(end)";
            buffer_.append(chunk, static_cast<std::size_t>(got));
        }
    }
    // Exit code, or -1 when it did not end in time or ended by a signal.
    int wait(int timeoutMs = 5000) {
        // A process descriptor becomes readable when the process ends.
        const UniqueFd process(static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0)));
        if (!process)
            return -1;
        pollfd p{process.get(), POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) != 1)
            return -1;
        int status = 0;
        if (::waitpid(pid_, &status, 0) != pid_)
            return -1;
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    void signal(int number) const { ::kill(pid_, number); }

private:
    pid_t pid_ = -1;
    UniqueFd out_;
    bool exited_ = false;
    std::string buffer_;
};

} // namespace

TEST(Program, AnswersJobsAndExitsAfterTheCount) {
    TempDir dir;
    Pc pc;
    const std::uint16_t port = freePort();
    Program scale({"--store", (dir / "store").string(), "--port", std::to_string(port),
                   "--probe-port", "0", "--reply-port", std::to_string(pc.port), "--sales-count",
                   "2", "--jobs", "2", "--quiet"});
    ASSERT_EQ(scale.line(), "listening");
    EXPECT_EQ(pc.exchange(port, "\xAA"), "\xAA");
    EXPECT_EQ(pc.exchange(port, "\x18"), "\x0D");
    EXPECT_EQ(pc.exchange(port, "\x0F"), "\x0F");
    EXPECT_EQ(scale.line(), "job clear-records: 2 records cleared");
    EXPECT_EQ(pc.exchange(port, "\xAA"), "\xAA");
    EXPECT_EQ(pc.exchange(port, "\x0F"), "\x0F");
    EXPECT_EQ(scale.line(), "job ended before a command");
    EXPECT_EQ(scale.wait(), 0);
    EXPECT_EQ(scale.line(), "(end)");
    EXPECT_NE(readBytes(dir / "store" / "sales.txt").find("0 records"), std::string::npos);
}

TEST(Program, StopsCleanlyOnSignals) {
    for (int number : {SIGTERM, SIGINT}) {
        TempDir dir;
        Program scale(
            {"--store", (dir / "store").string(), "--port", "0", "--probe-port", "0", "--quiet"});
        ASSERT_EQ(scale.line(), "listening");
        scale.signal(number);
        EXPECT_EQ(scale.wait(), 0) << "signal " << number;
    }
}

TEST(Program, NamesItsSerialTerminalBeforeListening) {
    TempDir dir;
    Program scale({"--store", (dir / "store").string(), "--port", "0", "--probe-port", "0",
                   "--serial", "--quiet"});
    const std::string serial = scale.line();
    ASSERT_EQ(serial.rfind("serial /dev/pts/", 0), 0u) << serial;
    EXPECT_EQ(scale.line(), "listening");
    // The PC opens the terminal and gets the hello answered.
    {
        const UniqueFd port(::open(serial.substr(7).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
        ASSERT_TRUE(port);
        ASSERT_EQ(::write(port.get(), "\xAA", 1), 1);
        pollfd p{port.get(), POLLIN, 0};
        char answer = 0;
        EXPECT_EQ(::poll(&p, 1, 3000), 1);
        EXPECT_EQ(::read(port.get(), &answer, 1), 1);
        EXPECT_EQ(answer, '\xAA');
    }
    scale.signal(SIGTERM);
    EXPECT_EQ(scale.wait(), 0);
}

TEST(Program, RefusesABadCommandLineAndAMissingSalesFile) {
    TempDir dir;
    Program bad({"--port", "none"});
    EXPECT_EQ(bad.wait(), 2);
    Program help({"--help"});
    EXPECT_EQ(help.line(),
              "A simulated price scale: answers the PC's transfer jobs over UDP (and a "
              "serial");
    EXPECT_EQ(help.wait(), 0);
    Program missing({"--store", (dir / "store").string(), "--sales", (dir / "nope").string(),
                     "--port", "0", "--probe-port", "0"});
    EXPECT_EQ(missing.wait(), 1);
    EXPECT_EQ(missing.line(), "(end)");
}
