#include "HidapiBackend.h"

#include <algorithm>
#include <cwchar>
#include <hidapi.h>

#include "common/WaitReadable.h"

#include "common/Text.h"

namespace korvan {
namespace {

// hidapi reports texts as wide characters (UTF-32 here).
std::string utf8(const wchar_t* text) {
    std::string out;
    if (!text)
        return out;
    for (; *text; ++text)
        Text::appendUtf8(out, static_cast<char32_t>(*text));
    return out;
}

// hidapi cannot wait on another descriptor, so a long read is taken in short slices with a look
// at the wake-up descriptor between them.
constexpr std::chrono::milliseconds kSlice{50};

class HidapiDevice : public HidDevice {
public:
    explicit HidapiDevice(hid_device* device) : device_(device) {}
    ~HidapiDevice() override { hid_close(device_); }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    bool write(const HidReport& report) override {
        return hid_write(device_, report.data(), report.size()) == static_cast<int>(report.size());
    }

    HidRead read(HidReport& report, std::chrono::milliseconds wait, int wakeFd) override {
        report.fill(0);
        const auto deadline = std::chrono::steady_clock::now() + wait;
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            const auto slice = std::clamp(left, std::chrono::milliseconds(0), kSlice);
            // Unnumbered reports come without their ID: the data goes behind byte 0.
            const int n = hid_read_timeout(device_, report.data() + 1, kHidReportData,
                                           static_cast<int>(slice.count()));
            if (n < 0)
                return HidRead::Failed;
            if (n > 0)
                return HidRead::Report;
            // A deadline already past: one look at the wake-up descriptor.
            if (waitReadable(-1, wakeFd, WaitClock::now()) == WaitResult::Woken)
                return HidRead::Woken;
            if (left <= kSlice)
                return HidRead::Timeout;
        }
    }

private:
    hid_device* device_;
};

} // namespace

HidapiBackend::HidapiBackend() : ready_(hid_init() == 0) {}

HidapiBackend::~HidapiBackend() {
    if (ready_)
        hid_exit();
}

std::vector<HidDeviceInfo> HidapiBackend::list() {
    std::vector<HidDeviceInfo> devices;
    if (!ready_)
        return devices;
    hid_device_info* all = hid_enumerate(0, 0);
    for (const hid_device_info* at = all; at; at = at->next) {
        HidDeviceInfo info;
        info.path = at->path ? at->path : "";
        info.vendorId = at->vendor_id;
        info.productId = at->product_id;
        info.product = utf8(at->product_string);
        devices.push_back(std::move(info));
    }
    hid_free_enumeration(all);
    return devices;
}

std::unique_ptr<HidDevice> HidapiBackend::open(const HidDeviceInfo& info) {
    if (!ready_)
        return nullptr;
    hid_device* device = hid_open_path(info.path.c_str());
    if (!device)
        return nullptr;
    return std::make_unique<HidapiDevice>(device);
}

} // namespace korvan
