#pragma once
// The network channel: UDP over IPv4. Messages go as one datagram each from an unbound socket
// to the scale's port; answers arrive on a socket bound to the local port, from any sender.
#include <cstdint>
#include <string>

#include "link/Channel.h"

namespace korvan {

class UdpChannel : public Channel {
public:
    static constexpr std::uint16_t kLocalPort = 7000;
    static constexpr std::uint16_t kTargetPort = 8000;
    static constexpr std::size_t kReceiveSize = 100;

    explicit UdpChannel(std::string targetIp, std::uint16_t localPort = kLocalPort,
                        std::uint16_t targetPort = kTargetPort,
                        ChannelTiming timing = ChannelTiming::network());
    ~UdpChannel() override;
    UdpChannel(const UdpChannel&) = delete;
    UdpChannel& operator=(const UdpChannel&) = delete;

    // 0, or: 223 the host name does not resolve, 221 the receiving socket cannot be made or
    // bound to the local port, 224 the sending socket cannot be made.
    int open() override;
    // A target that is no dotted IPv4 address takes the datagram nowhere (the scale then
    // stays silent); that is no failure of the channel.
    int send(std::string_view bytes) override;
    PollResult poll(std::chrono::milliseconds wait, int wakeFd) override;
    void close() override;
    const ChannelTiming& timing() const override { return timing_; }

    // The PC's address as found at open (for display only).
    const std::string& localAddressText() const { return localAddress_; }
    bool hasTarget() const { return hasTarget_; }

    // The first IPv4 address of this host's name, dotted; empty when the name does not
    // resolve.
    static std::string localAddress();

private:
    std::string targetIp_;
    std::uint16_t localPort_;
    std::uint16_t targetPort_;
    ChannelTiming timing_;
    int receiveFd_ = -1;
    int sendFd_ = -1;
    bool hasTarget_ = false;
    unsigned char target_[16] = {}; // sockaddr_in, kept opaque here
    std::string localAddress_;
};

} // namespace korvan
