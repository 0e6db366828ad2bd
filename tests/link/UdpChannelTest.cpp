#include "link/UdpChannel.h"

#include "link/LinkControl.h"
#include "link/LinkOutcome.h"
#include "UdpPeer.h"

#include <gtest/gtest.h>

using namespace korvan;
using namespace std::chrono_literals;
using korvan::test::UdpPeer;

TEST(UdpChannel, DatagramsBothWaysOnePerPoll) {
    UdpPeer scale;
    const std::uint16_t local = UdpPeer::freePort();
    UdpChannel channel("127.0.0.1", local, scale.port());
    ASSERT_EQ(channel.open(), 0);
    EXPECT_TRUE(channel.hasTarget());
    EXPECT_FALSE(channel.localAddressText().empty());

    ASSERT_EQ(channel.send("\xAA"), 0);
    EXPECT_EQ(scale.receive(1000), std::optional<std::string>("\xAA"));

    // Two datagrams waiting are taken one per poll; a long one is cut at the buffer size.
    scale.sendTo(local, "first");
    scale.sendTo(local, std::string(150, 'y'));
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(channel.poll(100ms, -1).bytes, "first");
    EXPECT_EQ(channel.poll(100ms, -1).bytes, std::string(UdpChannel::kReceiveSize, 'y'));

    const auto begun = std::chrono::steady_clock::now();
    const PollResult empty = channel.poll(30ms, -1);
    EXPECT_TRUE(empty.bytes.empty());
    EXPECT_FALSE(empty.woken);
    EXPECT_GE(std::chrono::steady_clock::now() - begun, 30ms); // silence is waited out
    channel.close();
}

TEST(UdpChannel, AnswerArrivingDuringThePollIsTakenAtOnce) {
    UdpPeer scale;
    const std::uint16_t local = UdpPeer::freePort();
    UdpChannel channel("127.0.0.1", local, scale.port());
    ASSERT_EQ(channel.open(), 0);
    std::thread answer([&] {
        std::this_thread::sleep_for(30ms);
        scale.sendTo(local, "\x0D");
    });
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_EQ(channel.poll(2s, -1).bytes, "\x0D");
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 1s);
    answer.join();
}

TEST(UdpChannel, WakeUpCutsThePollShort) {
    UdpChannel channel("127.0.0.1", UdpPeer::freePort(), UdpPeer::freePort());
    ASSERT_EQ(channel.open(), 0);
    LinkControl control;
    control.post("x");
    const PollResult polled = channel.poll(2s, control.wakeFd());
    EXPECT_TRUE(polled.woken);
    EXPECT_TRUE(polled.bytes.empty());
}

TEST(UdpChannel, LocalPortInUseFailsAtOpen) {
    UdpPeer holder;
    // The holder is bound to the loopback; the channel binds any address on the same port.
    UdpChannel channel("127.0.0.1", holder.port(), UdpPeer::freePort());
    EXPECT_EQ(channel.open(), LinkCode::kSocketSetupFailed);
}

TEST(UdpChannel, TargetThatIsNoAddressSendsNothing) {
    UdpChannel channel("not an address", UdpPeer::freePort(), UdpPeer::freePort());
    ASSERT_EQ(channel.open(), 0);
    EXPECT_FALSE(channel.hasTarget());
    EXPECT_EQ(channel.send("\xAA"), 0);
}

TEST(UdpChannel, LocalAddressIsDotted) {
    const std::string address = UdpChannel::localAddress();
    ASSERT_FALSE(address.empty());
    in_addr parsed{};
    EXPECT_EQ(::inet_pton(AF_INET, address.c_str(), &parsed), 1) << address;
}
