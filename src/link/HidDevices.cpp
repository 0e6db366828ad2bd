#include "HidDevices.h"

#include <mutex>

#include "link/HidapiBackend.h"
#include "link/VirtualHidBackend.h"

namespace korvan {

HidDevices::HidDevices(std::vector<std::unique_ptr<HidBackend>> backends)
    : backends_(std::move(backends)) {}

std::shared_ptr<HidBackend> HidDevices::system() {
    static std::mutex mutex;
    static std::shared_ptr<HidBackend> devices;
    std::lock_guard lock(mutex);
    if (!devices) {
        std::vector<std::unique_ptr<HidBackend>> backends;
        backends.push_back(std::make_unique<HidapiBackend>());
        if (auto paths = VirtualHidBackend::announced(); !paths.empty())
            backends.push_back(std::make_unique<VirtualHidBackend>(std::move(paths)));
        devices = std::make_shared<HidDevices>(std::move(backends));
    }
    return devices;
}

std::vector<HidDeviceInfo> HidDevices::list() {
    const std::lock_guard lock(mutex_);
    std::vector<HidDeviceInfo> all;
    for (std::size_t i = 0; i < backends_.size(); ++i)
        for (HidDeviceInfo& info : backends_[i]->list()) {
            info.backend = static_cast<int>(i);
            all.push_back(std::move(info));
        }
    return all;
}

std::unique_ptr<HidDevice> HidDevices::open(const HidDeviceInfo& info) {
    if (info.backend < 0 || static_cast<std::size_t>(info.backend) >= backends_.size())
        return nullptr;
    const std::lock_guard lock(mutex_);
    return backends_[static_cast<std::size_t>(info.backend)]->open(info);
}

std::optional<FoundHidDevice> HidDevices::findScale(HidBackend& backend, const std::string& path) {
    const std::vector<HidDeviceInfo> present = backend.list();
    const std::size_t looked = std::min(present.size(), kMaxInterfaces);
    for (std::size_t i = 0; i < looked; ++i) {
        const HidDeviceInfo& info = present[i];
        if (!isScale(info) || (!path.empty() && info.path != path))
            continue;
        if (auto device = backend.open(info))
            return FoundHidDevice{std::move(device), info};
    }
    return std::nullopt;
}

} // namespace korvan
