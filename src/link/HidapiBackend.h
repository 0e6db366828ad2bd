#pragma once
// The HID interfaces of this machine through hidapi (hidraw).
#include "link/HidDevice.h"

namespace korvan {

class HidapiBackend : public HidBackend {
public:
    HidapiBackend();
    ~HidapiBackend() override;
    HidapiBackend(const HidapiBackend&) = delete;
    HidapiBackend& operator=(const HidapiBackend&) = delete;

    std::vector<HidDeviceInfo> list() override;
    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override;

private:
    bool ready_ = false;
};

} // namespace korvan
