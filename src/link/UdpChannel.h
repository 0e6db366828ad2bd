#pragma once
// The network channel: UDP over IPv4. Messages go as one datagram each from an unbound socket
// to the scale's port; answers arrive on a socket bound to the local port, and only the scale's
// own address is heard (any sender when the scale's address is a broadcast address). In a job
// for several scales the channels share one receiving socket (UdpHub) instead of binding their
// own.
#include <cstdint>
#include <memory>
#include <string>

#include "common/UniqueFd.h"
#include "link/Channel.h"
#include "link/Protocol.h"
#include "link/UdpHub.h"

namespace korvan {

class UdpChannel : public Channel {
public:
    static constexpr std::uint16_t kLocalPort = protocol::kPcPort;
    static constexpr std::uint16_t kTargetPort = protocol::kScalePort;
    static constexpr std::size_t kReceiveSize = 100;

    explicit UdpChannel(std::string targetIp, std::uint16_t localPort = kLocalPort,
                        std::uint16_t targetPort = kTargetPort,
                        ChannelTiming timing = ChannelTiming::network(),
                        std::shared_ptr<UdpHub> hub = nullptr);
    ~UdpChannel() override;
    UdpChannel(const UdpChannel&) = delete;
    UdpChannel& operator=(const UdpChannel&) = delete;

    // 0, or: 223 the host name does not resolve, 221 the receiving socket cannot be made or
    // bound to the local port (failureText() names a port held by another program), 224 the
    // sending socket cannot be made. Datagrams that were already waiting are dropped: they
    // belong to no job of ours (a late answer to an earlier job, a stray sender).
    [[nodiscard]] int open() override;
    // A target that is no dotted IPv4 address takes the datagram nowhere (the scale then
    // stays silent); that is no failure of the channel. A datagram the system refuses to
    // send gives 226: the scale would miss a message and the job cannot go on.
    [[nodiscard]] int send(std::string_view bytes) override;
    // Datagrams from any address but the scale's are dropped; they do not end the wait.
    PollResult poll(std::chrono::nanoseconds wait, int wakeFd) override;
    void close() override;
    const ChannelTiming& timing() const override { return timing_; }
    std::string failureText(Lang lang) const override;

    // The PC's address as found at open (for display only).
    const std::string& localAddressText() const { return localAddress_; }
    bool hasTarget() const { return hasTarget_; }
    // The target is the limited broadcast address or one of this host's subnet broadcasts:
    // answers are then taken from any sender.
    bool targetIsBroadcast() const { return broadcast_; }

    // The first IPv4 address of this host's name, dotted; empty when the name does not
    // resolve.
    static std::string localAddress();
    // Whether a dotted IPv4 address is 255.255.255.255 or the broadcast address of one of this
    // host's interfaces.
    static bool isBroadcastAddress(const std::string& dotted);

private:
    std::string targetIp_;
    std::uint16_t localPort_;
    std::uint16_t targetPort_;
    ChannelTiming timing_;
    std::shared_ptr<UdpHub> hub_;
    std::shared_ptr<UdpHub::Mailbox> mailbox_; // joined: the hub hands this scale's answers
    UniqueFd receiveFd_;
    UniqueFd sendFd_;
    bool hasTarget_ = false;
    bool broadcast_ = false;
    bool portInUse_ = false;
    std::uint32_t targetAddress_ = 0; // network byte order
    std::string localAddress_;
};

} // namespace korvan
