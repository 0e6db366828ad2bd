#pragma once
// A HID device interface as the USB link needs it: 65-byte reports (report ID 0 and 64 data
// bytes) written and read one at a time, and the list of the interfaces present. Real devices
// go through hidapi; the simulated scale serves a virtual one over a Unix socket.
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvan {

inline constexpr std::size_t kHidReportSize = 65;
inline constexpr std::size_t kHidReportData = 64; // bytes 1 to 64 of a report
using HidReport = std::array<unsigned char, kHidReportSize>;

struct HidDeviceInfo {
    std::string path; // what open() takes
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string product; // the product string, UTF-8
    int backend = 0;     // which list it came from (HidDevices)
};

enum class HidRead {
    Report,  // a report was read
    Timeout, // none within the wait
    Woken,   // the wake-up descriptor ended the wait first
    Failed,  // the device is gone or refused the read
};

class HidDevice {
public:
    virtual ~HidDevice() = default;
    // Writes one output report (byte 0 the report ID). False when the device refused it.
    virtual bool write(const HidReport& report) = 0;
    // Reads one input report into `report` (byte 0 is the report ID, 0), waiting up to `wait`;
    // `wakeFd` (an eventfd, or -1) cuts the wait short.
    virtual HidRead read(HidReport& report, std::chrono::milliseconds wait, int wakeFd) = 0;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;
    // The HID interfaces present, in the order the system lists them.
    virtual std::vector<HidDeviceInfo> list() = 0;
    // nullptr when the interface cannot be opened (gone, no permission).
    virtual std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) = 0;
};

} // namespace korvan
