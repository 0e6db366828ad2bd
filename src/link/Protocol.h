#pragma once
// The bytes and ports of the conversation with the scale, named once for the PC side. (The
// simulated scale names its own: it is an independent peer, so a wrong byte here cannot hide
// behind the same wrong byte there.)
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace korvan::protocol {

inline constexpr char kHello = '\xAA';     // first byte of every job; the scale echoes it
inline constexpr char kAck = '\x0D';       // acknowledgement; also "send the next sales line"
inline constexpr char kAckParen = ')';     // the other acknowledgement some scales send
inline constexpr char kReconnect = '(';    // USB: the scale restarts its side of the link
inline constexpr char kBusy = '\x0B';      // the scale is in use
inline constexpr char kDataError = '\x0E'; // the scale refused what it got
inline constexpr char kEnd = '\x0F';       // end of a job, both ways
inline constexpr char kBlockRequest = '\x01';
inline constexpr char kProbe = '\xA5'; // network test of the settings screen
inline constexpr char kFieldSeparator = '\x0C';
inline constexpr std::string_view kRecordEnd = "\r\n";
inline constexpr std::string_view kUpdateEnd = "\xAA\xBB\xCC\xDD";

// Network link: the PC listens on kPcPort and sends to the scale's kScalePort; the settings
// screen's network test sends the probe to kProbePort.
inline constexpr std::uint16_t kPcPort = 7000;
inline constexpr std::uint16_t kScalePort = 8000;
inline constexpr std::uint16_t kProbePort = 1025;
// The largest UDP payload over IPv4: one message of the link may not be longer.
inline constexpr std::size_t kMaxDatagram = 65507;

} // namespace korvan::protocol
