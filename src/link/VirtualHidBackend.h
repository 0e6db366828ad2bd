#pragma once
// Virtual HID devices announced by socket path: the simulated scale serves one on a Unix
// SOCK_SEQPACKET socket, so every USB job runs without hardware. Each packet is one report; on
// connecting, the device first sends its identity: "KHID", the vendor and product IDs (two bytes
// each, most significant first) and the product string (UTF-8). Listing a device connects to it
// for that packet and hangs up again.
#include <string>
#include <vector>

#include "link/HidDevice.h"

namespace korvan {

class VirtualHidBackend : public HidBackend {
public:
    // The environment variable that announces virtual devices: socket paths, separated by ':'.
    static constexpr const char* kEnvironment = "KORVAN_VIRTUAL_HID";
    static constexpr std::string_view kMagic = "KHID";
    // How long a listed device may take to send its identity.
    static constexpr std::chrono::milliseconds kIdentityWait{1000};

    explicit VirtualHidBackend(std::vector<std::string> socketPaths);
    // The devices the environment announces (none when it is unset).
    static std::vector<std::string> announced();

    std::vector<HidDeviceInfo> list() override;
    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override;

private:
    std::vector<std::string> paths_;
};

} // namespace korvan
