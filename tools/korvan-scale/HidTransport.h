#pragma once
// The USB link: a virtual HID device on a Unix SOCK_SEQPACKET socket, one packet per 65-byte
// report (report ID 0, then 64 data bytes). A PC connects to open the device and first receives
// its identity: "KHID", vendor and product ID (two bytes each, most significant first) and the
// product string. Listing devices connects and hangs up again.
//
// Framing as the scale reads it: a report's data ends at its first zero byte; a full report
// (64 bytes, no zero) whose message has not ended with CR LF is continued by the next one. While
// update blocks flow, each report is one 64-byte block, zeros and all. Answers longer than 64
// bytes go out in several reports.
//
// After the "(" answer to a program update the device restarts: it drops its connections and is
// gone for `restartTime`, then it is served again on the same path.
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "ScaleHost.h"
#include "Transport.h"
#include "common/UniqueFd.h"

namespace korvan::sim {

struct HidSettings {
    std::string socketPath;
    std::uint16_t vendorId = 0x0483;
    std::uint16_t productId = 0x5750;
    std::string product = "Korvan virtual scale";
    std::chrono::milliseconds restartTime{1500};
};

class HidTransport : public Transport {
public:
    static constexpr std::size_t kReportSize = 65;
    static constexpr std::size_t kReportData = 64;
    // A message longer than this without its end is cut here (nothing the PC sends comes near).
    static constexpr std::size_t kMaxMessage = 64 * 1024;

    HidTransport(ScaleHost& host, HidSettings settings);
    ~HidTransport() override;
    HidTransport(const HidTransport&) = delete;
    HidTransport& operator=(const HidTransport&) = delete;

    IoResult open() override;
    std::string describe() const override { return "usb " + settings_.socketPath; }
    const std::string& path() const { return settings_.socketPath; }
    // Connections now open.
    std::size_t connectionCount() const { return connections_.size(); }

    // The identity packet of a device.
    static std::string identity(const HidSettings& settings);

private:
    struct Connection {
        UniqueFd fd;
        std::string pending; // data of a message still being received
        std::string name;
    };

    IoResult listen();
    void accept();
    void readReport(int fd);
    void drop(int fd);
    void restart();
    bool sendAnswer(int fd, std::string_view bytes);

    ScaleHost& host_;
    HidSettings settings_;
    std::unique_ptr<ScaleSession> session_;
    UniqueFd listener_;
    std::map<int, Connection> connections_;
    std::uint64_t connectionCounter_ = 0;
    bool restarting_ = false;
};

} // namespace korvan::sim
