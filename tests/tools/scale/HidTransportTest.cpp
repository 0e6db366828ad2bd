// The simulated scale's virtual USB device, reached through the PC side's own virtual HID
// backend: its identity in a listing, reports both ways, and the restart for a program update.
#include <gtest/gtest.h>

#include <thread>

#include "korvan-scale/EventLoop.h"
#include "korvan-scale/HidTransport.h"
#include "korvan-scale/RawLog.h"
#include "korvan-scale/ScaleHost.h"
#include "link/VirtualHidBackend.h"
#include "support/TempDir.h"
#include "tools/scale/Records.h"

using namespace korvan;
using namespace korvan::sim;
using namespace std::chrono_literals;
using korvan::test::readBytes;
using korvan::test::TempDir;

namespace {

class VirtualUsb : public ::testing::Test {
protected:
    TempDir dir;
    ScaleStore store{dir / "store"};
    RawLog log;
    EventLoop loop;
    std::unique_ptr<ScaleHost> host;
    std::unique_ptr<HidTransport> usb;
    std::thread thread;
    HidSettings settings;

    void start() {
        ASSERT_TRUE(store.prepare().ok());
        host = std::make_unique<ScaleHost>(store, log, loop, SessionOptions{});
        settings.socketPath = (dir / "usb.sock").string();
        settings.restartTime = 300ms;
        usb = std::make_unique<HidTransport>(*host, settings);
        const IoResult opened = usb->open();
        ASSERT_TRUE(opened) << opened.why();
        thread = std::thread([this] { loop.run(); });
    }
    void TearDown() override {
        if (thread.joinable()) {
            loop.stop();
            thread.join();
        }
    }

    // Sends a message in reports as the PC does, returns the answer's data up to its zero.
    static std::string exchange(HidDevice& device, const std::string& message,
                                bool wholeBlock = false) {
        for (std::size_t at = 0; at < std::max<std::size_t>(message.size(), 1); at += 64) {
            HidReport report{};
            const std::string piece = message.substr(at, 64);
            std::copy(piece.begin(), piece.end(), report.begin() + 1);
            if (!device.write(report))
                return "(write failed)";
            if (wholeBlock)
                break;
        }
        HidReport answer{};
        if (device.read(answer, 2000ms, -1) != HidRead::Report)
            return "(no report)";
        const auto end = std::find(answer.begin() + 1, answer.end(), 0);
        return std::string(answer.begin() + 1, end);
    }
};

} // namespace

TEST_F(VirtualUsb, ListedWithItsIdentityAndALongRecordSpansReports) {
    start();
    VirtualHidBackend backend({(dir / "absent.sock").string(), settings.socketPath});
    const auto listed = backend.list();
    ASSERT_EQ(listed.size(), 1u); // a path nobody serves is no device
    EXPECT_EQ(listed[0].vendorId, 0x0483);
    EXPECT_EQ(listed[0].productId, 0x5750);
    EXPECT_EQ(listed[0].product, "Korvan virtual scale");

    auto device = backend.open(listed[0]);
    ASSERT_TRUE(device);
    EXPECT_EQ(exchange(*device, "\xA5"), "\xA5"); // the link test, outside a job
    EXPECT_EQ(exchange(*device, "\xAA"), "\xAA");
    EXPECT_EQ(exchange(*device, "\x04"), "\x0D");
    const std::string phone(90, '7');
    EXPECT_EQ(exchange(*device, test::record({phone})), "\x0D"); // two reports, one message
    EXPECT_EQ(exchange(*device, "\x0F"), "\x0F");
    EXPECT_EQ(readBytes(store.file(ScaleStore::kShopPhone)), phone + "\n");
}

TEST_F(VirtualUsb, TheUpdateRestartsTheDeviceAndBlocksKeepTheirZeros) {
    start();
    VirtualHidBackend backend({settings.socketPath});
    auto listed = backend.list();
    ASSERT_EQ(listed.size(), 1u);
    auto device = backend.open(listed[0]);
    ASSERT_TRUE(device);
    EXPECT_EQ(exchange(*device, "\xAA"), "\xAA");
    EXPECT_EQ(exchange(*device, "\x28"), "(");
    // The device drops the PC and is gone from the listing while it restarts.
    HidReport report{};
    EXPECT_EQ(device->read(report, 2000ms, -1), HidRead::Failed);
    EXPECT_TRUE(backend.list().empty());
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while ((listed = backend.list()).empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
    ASSERT_EQ(listed.size(), 1u);

    device = backend.open(listed[0]);
    ASSERT_TRUE(device);
    EXPECT_EQ(exchange(*device, "\xAA"), "\xAA");
    EXPECT_EQ(exchange(*device, "\x28"), "\x0D");
    std::string block(64, '\0');
    block[0] = '\x11';
    block[63] = '\x22';
    EXPECT_EQ(exchange(*device, block, true), "\x0D");
    EXPECT_EQ(exchange(*device, "\xAA\xBB\xCC\xDD"), "\x0F");
    EXPECT_EQ(readBytes(store.file(ScaleStore::kImage)), block);
}
