#include "Channel.h"

#include "link/LinkOutcome.h"
#include "link/Protocol.h"

namespace korvan {

using std::chrono::milliseconds;

ChannelTiming ChannelTiming::network() {
    return {milliseconds(5), milliseconds(5),       1600, LinkCode::kNetworkNoAnswer,
            false,           protocol::kMaxDatagram};
}

ChannelTiming ChannelTiming::serial() {
    return {milliseconds(200), milliseconds(100), 160, LinkCode::kSerialNoAnswer, false, 0};
}

ChannelTiming ChannelTiming::usb() {
    return {milliseconds(0), milliseconds(5000), 0, LinkCode::kUsbNoAnswer, true, 0};
}

} // namespace korvan
