#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "korvan-scale/EventLoop.h"
#include "korvan-scale/RawLog.h"
#include "korvan-scale/ScaleHost.h"
#include "korvan-scale/UdpTransport.h"
#include "common/UniqueFd.h"
#include "support/TempDir.h"
#include "tools/scale/Records.h"

using namespace korvan;
using namespace korvan::sim;
using korvan::test::readBytes;
using korvan::test::record;
using korvan::test::TempDir;

namespace {

// A PC's socket: bound to an address and port, sends to the scale and waits for answers.
class PcSocket {
public:
    PcSocket(const char* address, std::uint16_t port) {
        fd_.reset(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
        sockaddr_in local{};
        local.sin_family = AF_INET;
        ::inet_pton(AF_INET, address, &local.sin_addr);
        local.sin_port = htons(port);
        if (::bind(fd_.get(), reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            fd_.reset();
            return;
        }
        socklen_t length = sizeof local;
        ::getsockname(fd_.get(), reinterpret_cast<sockaddr*>(&local), &length);
        port_ = ntohs(local.sin_port);
    }
    bool ok() const { return fd_.valid(); }
    std::uint16_t port() const { return port_; }

    void send(std::uint16_t scalePort, const std::string& bytes) const {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(scalePort);
        ::sendto(fd_.get(), bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to),
                 sizeof to);
    }
    // The next datagram, or nullopt after the time-out.
    std::optional<std::string> receive(int timeoutMs = 2000, std::uint16_t* fromPort = nullptr) {
        pollfd p{fd_.get(), POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) != 1)
            return std::nullopt;
        char buffer[2048];
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got = ::recvfrom(fd_.get(), buffer, sizeof buffer, 0,
                                       reinterpret_cast<sockaddr*>(&from), &length);
        if (got < 0)
            return std::nullopt;
        if (fromPort)
            *fromPort = ntohs(from.sin_port);
        return std::string(buffer, static_cast<std::size_t>(got));
    }
    std::string exchange(std::uint16_t scalePort, const std::string& bytes) {
        send(scalePort, bytes);
        return receive().value_or("(no answer)");
    }

private:
    UniqueFd fd_;
    std::uint16_t port_ = 0;
};

class Loopback : public ::testing::Test {
protected:
    TempDir dir;
    ScaleStore store{dir / "store"};
    RawLog log;
    EventLoop loop;
    PcSocket pc{"127.0.0.1", 0};
    std::unique_ptr<ScaleHost> host;
    std::unique_ptr<UdpTransport> udp;
    std::thread thread;
    std::mutex mutex;
    std::condition_variable jobEnded;
    std::vector<std::string> jobs;

    void start(SessionOptions options = {}) {
        ASSERT_TRUE(pc.ok());
        ASSERT_TRUE(store.prepare().ok());
        const IoResult logOpened = log.open(store.file(ScaleStore::kRawLog));
        ASSERT_TRUE(logOpened) << logOpened.why();
        host = std::make_unique<ScaleHost>(store, log, loop, options);
        host->onJob = [this](const std::string& line) {
            {
                std::lock_guard lock(mutex);
                jobs.push_back(line);
            }
            jobEnded.notify_all();
        };
        UdpSettings settings;
        settings.port = 0;
        settings.probePort = 0;
        settings.replyPort = pc.port();
        udp = std::make_unique<UdpTransport>(*host, settings);
        const IoResult opened = udp->open();
        ASSERT_TRUE(opened) << opened.why();
        ASSERT_NE(udp->port(), 0);
        ASSERT_NE(udp->probePort(), 0);
        thread = std::thread([this] { loop.run(); });
    }
    void TearDown() override {
        if (thread.joinable()) {
            loop.stop();
            thread.join();
        }
    }
    // The job lines once `count` have come (a line follows the answer that ended its job).
    std::vector<std::string> jobLines(std::size_t count) {
        std::unique_lock lock(mutex);
        jobEnded.wait_for(lock, std::chrono::seconds(2), [&] { return jobs.size() >= count; });
        return jobs;
    }
};

} // namespace

TEST_F(Loopback, ProbeAndJobsOverRealSockets) {
    // One line longer than the 100 bytes the PC reads at once.
    const SalesRecord longOne = {"2026-03-01 08:00:00", std::string(90, 'n'), "1.000", "2.00",
                                 "2.00"};
    ASSERT_TRUE(store.replaceSales({longOne}).ok());
    start();

    // The probe is answered from the probe port to the PC's reply port.
    pc.send(udp->probePort(), "\xA5");
    std::uint16_t from = 0;
    EXPECT_EQ(pc.receive(2000, &from), std::optional<std::string>("\xA5"));
    EXPECT_EQ(from, udp->probePort());

    EXPECT_EQ(pc.exchange(udp->port(), "\xAA"), "\xAA");
    EXPECT_EQ(pc.exchange(udp->port(), "\x08"), "\x0D");
    pc.send(udp->port(), "\x0D");
    std::string line;
    while (line.find('\n') == std::string::npos) {
        auto piece = pc.receive();
        ASSERT_TRUE(piece);
        EXPECT_LE(piece->size(), 100u);
        line += *piece;
    }
    EXPECT_EQ(line, SalesRecords::wireLine(longOne));
    EXPECT_EQ(pc.exchange(udp->port(), "\x0D"), "\x0F");

    EXPECT_EQ(pc.exchange(udp->port(), "\xAA"), "\xAA");
    EXPECT_EQ(pc.exchange(udp->port(), "\x02"), "\x0D");
    EXPECT_EQ(pc.exchange(udp->port(), record({"Korvan"})), "\x0D");
    EXPECT_EQ(pc.exchange(udp->port(), "\x0F"), "\x0F");

    // Nothing answers stray bytes outside a job.
    pc.send(udp->port(), "\x0D");
    EXPECT_FALSE(pc.receive(200));

    EXPECT_EQ(jobLines(2), (std::vector<std::string>{"job read-records: 1 record served",
                                                     "job store-name-download (0x02): 1 record"}));
    EXPECT_EQ(readBytes(store.file(ScaleStore::kStoreName)), "Korvan\n");
    const std::string raw = readBytes(store.file(ScaleStore::kRawLog));
    EXPECT_NE(raw.find(" recv 127.0.0.1:" + std::to_string(pc.port()) + " data AA\n"),
              std::string::npos)
        << raw;
    EXPECT_NE(raw.find(" send 127.0.0.1:" + std::to_string(pc.port()) + " probe A5\n"),
              std::string::npos)
        << raw;
}

TEST_F(Loopback, EachAddressHasItsOwnConversation) {
    start();
    PcSocket other("127.0.0.2", pc.port());
    if (!other.ok())
        GTEST_SKIP() << "127.0.0.2 is not available here";
    // Second PC, same reply port on another address: the two jobs interleave.
    auto otherExchange = [&](const std::string& bytes) {
        other.send(udp->port(), bytes);
        return other.receive().value_or("(no answer)");
    };
    EXPECT_EQ(pc.exchange(udp->port(), "\xAA"), "\xAA");
    EXPECT_EQ(pc.exchange(udp->port(), "\x15"), "\x0D");
    EXPECT_EQ(otherExchange("\xAA"), "\xAA");
    EXPECT_EQ(otherExchange("\x18"), "\x0D");
    EXPECT_EQ(pc.exchange(udp->port(), record({"fresh"})), "\x0D");
    EXPECT_EQ(otherExchange("\x0F"), "\x0F");
    EXPECT_EQ(pc.exchange(udp->port(), "\x0F"), "\x0F");
    EXPECT_EQ(jobLines(2), (std::vector<std::string>{"job clear-records: 0 records cleared",
                                                     "job description-download (0x15): 1 record"}));
}

TEST_F(Loopback, DelayedAnswersArriveLateAndInOrder) {
    SessionOptions options;
    options.delay = std::chrono::milliseconds(150);
    options.splitLines = 2;
    ASSERT_TRUE(store.replaceSales(SalesRecords::generate(1)).ok());
    start(options);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(pc.exchange(udp->port(), "\xAA"), "\xAA");
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(150));
    EXPECT_EQ(pc.exchange(udp->port(), "\x08"), "\x0D");
    pc.send(udp->port(), "\x0D");
    const auto first = pc.receive();
    const auto second = pc.receive();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(*first + *second, SalesRecords::wireLine(SalesRecords::generate(1)[0]));
}

TEST_F(Loopback, APortInUseIsReported) {
    start();
    ScaleHost again(store, log, loop, {});
    UdpSettings settings;
    settings.port = udp->port();
    settings.probePort = 0;
    UdpTransport clash(again, settings);
    std::string error = clash.open().why();
    EXPECT_NE(error.find(std::to_string(udp->port())), std::string::npos) << error;

    settings.bindAddress = "localhost";
    UdpTransport badAddress(again, settings);
    error = badAddress.open().why();
    EXPECT_NE(error.find("localhost"), std::string::npos) << error;
}
