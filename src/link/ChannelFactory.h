#pragma once
// Makes the channel a transfer runs on from the link settings. Tests pass their own function;
// each further link is one more channel class made here.
#include <cstdint>
#include <functional>
#include <memory>

#include "common/DataDir.h"
#include "link/Channel.h"
#include "link/LinkSettings.h"
#include "link/Protocol.h"
#include "link/UdpChannel.h"

namespace korvan {

struct NetworkPorts {
    std::uint16_t local = protocol::kPcPort;
    std::uint16_t target = protocol::kScalePort;
};

class ChannelFactory {
public:
    // nullptr: no channel for these settings (the worker then ends at once with no result).
    using Function = std::function<std::unique_ptr<Channel>(const LinkSettings&)>;

    // The product's channels: UDP for the network link, the serial port that
    // record/comports.rec maps the port name to for the serial link, the scale's HID device
    // (real, or a virtual one announced in KORVAN_VIRTUAL_HID) for the USB link.
    // `dataDir` holds record/comports.rec.
    static Function standard(NetworkPorts ports = {}, const DataDir& dataDir = DataDir::current());
    // The same for a job for several scales: the network scales share one receiving socket on
    // the local port, each hearing only its own address.
    static Function forScales(NetworkPorts ports = {}, const DataDir& dataDir = DataDir::current());
};

} // namespace korvan
