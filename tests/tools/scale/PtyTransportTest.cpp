#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "korvan-scale/EventLoop.h"
#include "korvan-scale/PtyTransport.h"
#include "korvan-scale/RawLog.h"
#include "korvan-scale/ScaleHost.h"
#include "common/UniqueFd.h"
#include "support/TempDir.h"
#include "tools/scale/Records.h"

using namespace korvan;
using namespace korvan::sim;
using korvan::test::readBytes;
using korvan::test::record;
using korvan::test::TempDir;
using Clock = std::chrono::steady_clock;

namespace {

class Serial : public ::testing::Test {
protected:
    TempDir dir;
    ScaleStore store{dir / "store"};
    RawLog log;
    EventLoop loop;
    std::unique_ptr<ScaleHost> host;
    std::unique_ptr<PtyTransport> pty;
    std::thread thread;
    UniqueFd port; // the PC's end of the line

    void start(SessionOptions options = {}) {
        ASSERT_TRUE(store.prepare().ok());
        host = std::make_unique<ScaleHost>(store, log, loop, options);
        pty = std::make_unique<PtyTransport>(*host);
        const IoResult opened = pty->open();
        ASSERT_TRUE(opened) << opened.why();
        ASSERT_EQ(pty->path().rfind("/dev/pts/", 0), 0u) << pty->path();
        port.reset(::open(pty->path().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
        ASSERT_TRUE(port);
        termios raw{};
        ::tcgetattr(port.get(), &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(port.get(), TCSANOW, &raw);
        thread = std::thread([this] { loop.run(); });
    }
    void TearDown() override {
        if (thread.joinable()) {
            loop.stop();
            thread.join();
        }
    }
    void send(const std::string& bytes) const {
        ASSERT_EQ(::write(port.get(), bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // What arrives until the line is quiet for `quietMs` after the first byte.
    std::string receive(int quietMs = 100, int firstMs = 2000) const {
        std::string got;
        int timeout = firstMs;
        while (true) {
            pollfd p{port.get(), POLLIN, 0};
            if (::poll(&p, 1, timeout) != 1)
                return got;
            char buffer[256];
            const ssize_t n = ::read(port.get(), buffer, sizeof buffer);
            if (n <= 0)
                return got;
            got.append(buffer, static_cast<std::size_t>(n));
            timeout = quietMs;
        }
    }
    std::string exchange(const std::string& bytes) const {
        send(bytes);
        return receive();
    }
};

} // namespace

TEST_F(Serial, ConversationProbeAndPiecedMessages) {
    start();
    // The link test byte is answered on the line itself.
    EXPECT_EQ(exchange("\xA5"), "\xA5");
    EXPECT_EQ(exchange("\xAA"), "\xAA");
    EXPECT_EQ(exchange("\x04"), "\x0D");
    // A record written in two pieces close together (well within the quiet gap) is one message.
    const std::string phone = record({"555-0100"});
    send(phone.substr(0, 4));
    EXPECT_EQ(exchange(phone.substr(4)), "\x0D");
    EXPECT_EQ(exchange("\x0F"), "\x0F");
    EXPECT_EQ(readBytes(store.file(ScaleStore::kShopPhone)), "555-0100\n");
}

TEST_F(Serial, SplitLinesArriveAsSeparatePieces) {
    SessionOptions options;
    options.splitLines = 2;
    ASSERT_TRUE(store.replaceSales(SalesRecords::generate(1)).ok());
    start(options);
    EXPECT_EQ(exchange("\xAA"), "\xAA");
    EXPECT_EQ(exchange("\x08"), "\x0D");
    send("\x0D");
    // The second piece comes after a pause longer than the PC's serial poll.
    const std::string first = receive(60);
    const auto firstAt = Clock::now();
    const std::string second = receive(60);
    EXPECT_GE(Clock::now() - firstAt, std::chrono::milliseconds(80));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first + second, SalesRecords::wireLine(SalesRecords::generate(1)[0]));
    EXPECT_EQ(exchange("\x0D"), "\x0F");
}
