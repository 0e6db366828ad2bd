#pragma once
// The bytes and ports of the link as this scale knows them. The simulator is a peer of the PC
// program, not a part of it, so it names them itself: a wrong byte on the PC side shows up as a
// refused job here instead of agreeing with itself.
#include <cstdint>
#include <string_view>

namespace korvan::sim::wire {

inline constexpr char kHello = '\xAA';     // starts a job; answered with itself
inline constexpr char kAck = '\x0D';       // acknowledgement, and the PC's "next sales line"
inline constexpr char kAckParen = ')';     // the acknowledgement of --ack-paren scales
inline constexpr char kRestart = '(';      // "restart the link" before a program update
inline constexpr char kBusy = '\x0B';      // the scale is in use
inline constexpr char kDataError = '\x0E'; // a message was refused
inline constexpr char kEnd = '\x0F';       // end of a job, both ways
inline constexpr char kProbe = '\xA5';     // the PC's link test
inline constexpr char kSeparator = '\x0C'; // between the fields of a record
inline constexpr std::string_view kRecordEnd = "\r\n";
inline constexpr std::string_view kUpdateEnd = "\xAA\xBB\xCC\xDD";

// Network link: messages arrive on kListenPort, answers go to the PC's kReplyPort, the link test
// is answered on kProbePort.
inline constexpr std::uint16_t kListenPort = 8000;
inline constexpr std::uint16_t kReplyPort = 7000;
inline constexpr std::uint16_t kProbePort = 1025;

} // namespace korvan::sim::wire
