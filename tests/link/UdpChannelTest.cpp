#include "link/UdpChannel.h"

#include "link/LinkOutcome.h"
#include "link/TransferRunner.h"
#include "UdpPeer.h"

#include <gtest/gtest.h>

#include <future>

using namespace korvan;
using namespace std::chrono_literals;
using korvan::test::UdpPeer;

TEST(UdpChannel, DatagramsBothWaysOnePerPoll) {
    UdpPeer scale;
    const std::uint16_t local = UdpPeer::freePort();
    UdpChannel channel("127.0.0.1", local, scale.port());
    ASSERT_EQ(channel.open(), 0);
    EXPECT_TRUE(channel.hasTarget());
    EXPECT_FALSE(channel.targetIsBroadcast());
    EXPECT_FALSE(channel.localAddressText().empty());

    ASSERT_EQ(channel.send("\xAA"), 0);
    EXPECT_EQ(scale.receive(1000), std::optional<std::string>("\xAA"));

    // Two datagrams sent before the first poll are taken one per poll; a long one is cut at
    // the buffer size.
    scale.sendTo(local, "first");
    scale.sendTo(local, std::string(150, 'y'));
    EXPECT_EQ(channel.poll(1s, -1).bytes, "first");
    EXPECT_EQ(channel.poll(1s, -1).bytes, std::string(UdpChannel::kReceiveSize, 'y'));
    channel.close();
}

TEST(UdpChannel, OnlyTheScalesAddressIsHeardUnlessItIsABroadcastAddress) {
    UdpPeer scale;
    UdpPeer stray(0, "127.0.0.2");
    ASSERT_TRUE(stray.bound());
    const std::uint16_t local = UdpPeer::freePort();
    UdpChannel channel("127.0.0.1", local, scale.port());
    ASSERT_EQ(channel.open(), 0);
    stray.sendTo(local, "\x0F");
    scale.sendTo(local, "\x0D");
    EXPECT_EQ(channel.poll(1s, -1).bytes, "\x0D");
    channel.close();

    UdpChannel broadcast("255.255.255.255", local, scale.port());
    ASSERT_EQ(broadcast.open(), 0);
    EXPECT_TRUE(broadcast.targetIsBroadcast());
    stray.sendTo(local, "\x0F");
    EXPECT_EQ(broadcast.poll(1s, -1).bytes, "\x0F");

    EXPECT_TRUE(UdpChannel::isBroadcastAddress("255.255.255.255"));
    for (const char* address : {"127.0.0.1", "192.168.1.20", "", "not an address"})
        EXPECT_FALSE(UdpChannel::isBroadcastAddress(address)) << address;
}

TEST(UdpChannel, LocalPortInUseFailsAtOpenAndSaysSo) {
    UdpPeer holder;
    // The holder is bound to the loopback; the channel binds any address on the same port.
    UdpChannel channel("127.0.0.1", holder.port(), UdpPeer::freePort());
    EXPECT_EQ(channel.open(), LinkCode::kSocketSetupFailed);
    const std::string port = std::to_string(holder.port());
    EXPECT_EQ(channel.failureText(Lang::English),
              "Port " + port + " on this PC is in use by another program");
    EXPECT_EQ(channel.failureText(Lang::Chinese), "本机端口" + port + "已被其他程序占用");
}

TEST(UdpChannel, ADatagramThatCannotBeSentIsAFailure) {
    UdpPeer scale;
    UdpChannel channel("127.0.0.1", UdpPeer::freePort(), scale.port());
    ASSERT_EQ(channel.open(), 0);
    EXPECT_EQ(channel.send(std::string(70000, 'x')), LinkCode::kNetworkSendFailed);
    EXPECT_EQ(channel.send(std::string(ChannelTiming::network().maxMessage, 'x')), 0);
    EXPECT_EQ(scale.receive(1000)->size(), ChannelTiming::network().maxMessage);
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

// The whole transfer over the loopback, the test playing the scale.
namespace {

struct UdpJob {
    UdpPeer scale;
    std::uint16_t local = UdpPeer::freePort();
    TransferObserver quiet;
    TransferRunner runner;

    explicit UdpJob(JobRequest request, std::uint16_t localPort = 0)
        : local(localPort ? localPort : UdpPeer::freePort()),
          runner(std::move(request), network(), factory(), quiet, Lang::English) {}

    static LinkSettings network() {
        LinkSettings settings;
        settings.setMode(LinkMode::Network);
        settings.targetIp = "127.0.0.1";
        return settings;
    }
    ChannelFactory::Function factory() {
        return [this](const LinkSettings& s) -> std::unique_ptr<Channel> {
            return std::make_unique<UdpChannel>(s.targetIp, local, scale.port());
        };
    }
};

JobRequest storeName(std::string text) {
    return {StoreNamePayload{std::move(text)}};
}

} // namespace

TEST(UdpTransfer, AnEndByteFromAnotherHostDoesNotCompleteTheJob) {
    UdpJob job(storeName("Shop"));
    UdpPeer stray(0, "127.0.0.2");
    ASSERT_TRUE(stray.bound());
    ASSERT_TRUE(job.runner.start());
    // The job's consumer thread.
    auto outcome = std::async(std::launch::async, [&] { return job.runner.waitAndProcess(); });
    ASSERT_EQ(job.scale.receive(2000), std::optional<std::string>("\xAA"));
    stray.sendTo(job.local, "\x0F");
    job.scale.sendTo(job.local, "\xAA");
    // Had the stray end byte counted, the job would be over and nothing more sent.
    EXPECT_EQ(job.scale.receive(2000), std::optional<std::string>("\x02"));
    job.scale.sendTo(job.local, "\x0D");
    EXPECT_EQ(job.scale.receive(2000), std::optional<std::string>("Shop\r\n"));
    job.scale.sendTo(job.local, "\x0D");
    EXPECT_EQ(job.scale.receive(2000), std::optional<std::string>("\x0F"));
    job.scale.sendTo(job.local, "\x0F");
    const TransferReport report = outcome.get();
    EXPECT_TRUE(report.completed);
    EXPECT_EQ(report.message, "1Data download completed");
}

TEST(UdpTransfer, ARecordTooLongForADatagramIsRefusedBeforeTheHello) {
    UdpJob job(storeName(std::string(70000, 'x')));
    EXPECT_FALSE(job.runner.start());
    const TransferReport report = job.runner.waitAndProcess();
    EXPECT_EQ(report.code, TransferRunner::kRecordTooLong);
    EXPECT_EQ(report.message, "Row 1 is too long to send (70002 bytes, at most 65507)");
    EXPECT_FALSE(report.completed);
    EXPECT_EQ(job.scale.receive(100), std::nullopt); // not even the hello byte
}

TEST(UdpTransfer, APortHeldByAnotherProgramIsNamed) {
    UdpPeer holder;
    UdpJob job(storeName("Shop"), holder.port());
    job.runner.start();
    const TransferReport report = job.runner.waitAndProcess();
    EXPECT_EQ(report.code, LinkCode::kSocketSetupFailed);
    EXPECT_EQ(report.message,
              "Port " + std::to_string(holder.port()) + " on this PC is in use by another program");
}
