#pragma once
// The HID interfaces the USB link looks at: this machine's (hidapi), and after them any virtual
// devices announced in KORVAN_VIRTUAL_HID. The product uses real devices alone unless one is
// announced. Also the search for the scale among them.
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "link/HidDevice.h"

namespace korvan {

struct FoundHidDevice {
    std::unique_ptr<HidDevice> device;
    HidDeviceInfo info;
};

class HidDevices : public HidBackend {
public:
    // The scale's USB identity.
    static constexpr std::uint16_t kScaleVendorId = 0x0483;
    static constexpr std::uint16_t kScaleProductId = 0x5750;
    // Interfaces looked at by one search; any further ones are not.
    static constexpr std::size_t kMaxInterfaces = 128;

    explicit HidDevices(std::vector<std::unique_ptr<HidBackend>> backends);

    // Whether an interface has the scale's vendor and product ID.
    static bool isScale(const HidDeviceInfo& info) {
        return info.vendorId == kScaleVendorId && info.productId == kScaleProductId;
    }

    // The process's devices: hidapi, then the announced virtual ones (made once; shared by the
    // link worker and the settings screen, which never search at the same time).
    static std::shared_ptr<HidBackend> system();

    // The first of the first 128 interfaces that has the scale's vendor and product ID and
    // opens; other devices are passed over. With a `path`, only the interface of that path
    // counts (one of several scales).
    static std::optional<FoundHidDevice> findScale(HidBackend& backend,
                                                   const std::string& path = {});

    std::vector<HidDeviceInfo> list() override;
    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override;

private:
    // A job for several USB scales searches from several link workers at once; hidapi's
    // enumeration and opening are not made for that.
    std::mutex mutex_;
    std::vector<std::unique_ptr<HidBackend>> backends_;
};

} // namespace korvan
