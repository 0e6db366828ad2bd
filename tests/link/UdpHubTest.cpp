#include "link/UdpHub.h"

#include "link/LinkOutcome.h"
#include "link/UdpChannel.h"
#include "UdpPeer.h"

#include <gtest/gtest.h>

using namespace korvan;
using namespace std::chrono_literals;
using korvan::test::UdpPeer;

// Scales that answer as the protocol has it, each from its own address to the PC's one port.
TEST(UdpHub, EachScaleHearsOnlyItsOwnAnswersThroughOneSocket) {
    // The scales listen on one port number, each on its own address.
    UdpPeer produce(0, "127.0.0.2"), stray(0, "127.0.0.4");
    UdpPeer deli(produce.port(), "127.0.0.3");
    ASSERT_TRUE(produce.bound() && deli.bound() && stray.bound());
    const std::uint16_t local = UdpPeer::freePort();
    auto hub = std::make_shared<UdpHub>(local);
    UdpChannel toProduce("127.0.0.2", local, produce.port(), ChannelTiming::network(), hub);
    UdpChannel toDeli("127.0.0.3", local, produce.port(), ChannelTiming::network(), hub);
    ASSERT_EQ(toProduce.open(), 0);
    ASSERT_EQ(toDeli.open(), 0);

    // Each message goes to its own scale only.
    ASSERT_EQ(toDeli.send("\xAA"), 0);
    EXPECT_EQ(deli.receive(1000), std::optional<std::string>("\xAA"));
    EXPECT_EQ(produce.receive(50), std::nullopt);

    // Answers arrive mixed; a stranger's is dropped, and each scale takes its own in order.
    stray.sendTo(local, "\x0F");
    deli.sendTo(local, "deli 1");
    produce.sendTo(local, "produce 1");
    deli.sendTo(local, "deli 2");
    EXPECT_EQ(toProduce.poll(1s, -1).bytes, "produce 1");
    EXPECT_EQ(toDeli.poll(1s, -1).bytes, "deli 1");
    EXPECT_EQ(toDeli.poll(1s, -1).bytes, "deli 2");
    EXPECT_EQ(toProduce.poll(50ms, -1).bytes, "");
    EXPECT_EQ(toDeli.poll(50ms, -1).bytes, "");

    // A scale whose job is over hears nothing more; the other goes on.
    toProduce.close();
    produce.sendTo(local, "late");
    deli.sendTo(local, "deli 3");
    EXPECT_EQ(toDeli.poll(1s, -1).bytes, "deli 3");
    // A second channel for an address already heard could not tell its answers apart.
    UdpChannel again("127.0.0.3", local, produce.port(), ChannelTiming::network(), hub);
    EXPECT_EQ(again.open(), LinkCode::kSocketSetupFailed);
    toDeli.close();
    // The last one out frees the port for the next job.
    EXPECT_TRUE(UdpPeer(local).bound());

    // A port another program holds fails every scale at open, and says so.
    UdpPeer holder;
    auto taken = std::make_shared<UdpHub>(holder.port());
    UdpChannel blocked("127.0.0.2", holder.port(), produce.port(), ChannelTiming::network(), taken);
    EXPECT_EQ(blocked.open(), LinkCode::kSocketSetupFailed);
    EXPECT_NE(blocked.failureText(Lang::English).find(std::to_string(holder.port())),
              std::string::npos);
}
