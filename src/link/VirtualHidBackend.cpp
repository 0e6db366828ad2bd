#include "VirtualHidBackend.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "common/UniqueFd.h"
#include "common/WaitReadable.h"

namespace korvan {
namespace {

UniqueFd connectTo(const std::string& path) {
    sockaddr_un address{};
    if (path.empty() || path.size() >= sizeof address.sun_path)
        return {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.data(), path.size());
    UniqueFd fd(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0));
    if (!fd)
        return {};
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return {};
    return fd;
}

// The identity packet a device sends first; nullopt when none (or no valid one) arrives.
std::optional<HidDeviceInfo> readIdentity(int fd, const std::string& path) {
    if (waitReadable(fd, -1, WaitClock::now() + VirtualHidBackend::kIdentityWait) !=
        WaitResult::Ready)
        return std::nullopt;
    char packet[512];
    const ssize_t n = ::recv(fd, packet, sizeof packet, MSG_DONTWAIT);
    const std::size_t magic = VirtualHidBackend::kMagic.size();
    if (n < static_cast<ssize_t>(magic + 4) ||
        std::string_view(packet, magic) != VirtualHidBackend::kMagic)
        return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(packet[i]); };
    HidDeviceInfo info;
    info.path = path;
    info.vendorId = static_cast<std::uint16_t>(byte(magic) << 8 | byte(magic + 1));
    info.productId = static_cast<std::uint16_t>(byte(magic + 2) << 8 | byte(magic + 3));
    info.product.assign(packet + magic + 4, static_cast<std::size_t>(n) - magic - 4);
    return info;
}

class VirtualHidDevice : public HidDevice {
public:
    explicit VirtualHidDevice(UniqueFd fd) : fd_(std::move(fd)) {}

    bool write(const HidReport& report) override {
        for (;;) {
            const ssize_t n = ::send(fd_.get(), report.data(), report.size(), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR)
                continue;
            return n == static_cast<ssize_t>(report.size());
        }
    }

    HidRead read(HidReport& report, std::chrono::milliseconds wait, int wakeFd) override {
        report.fill(0);
        const auto deadline = WaitClock::now() + wait;
        for (;;) {
            switch (waitReadable(fd_.get(), wakeFd, deadline)) {
            case WaitResult::Failed:
                return HidRead::Failed;
            case WaitResult::TimedOut:
                return HidRead::Timeout;
            case WaitResult::Woken:
                return HidRead::Woken;
            case WaitResult::Ready:
                break;
            }
            const ssize_t n = ::recv(fd_.get(), report.data(), report.size(), MSG_DONTWAIT);
            if (n > 0)
                return HidRead::Report;
            if (n == 0 || (errno != EAGAIN && errno != EINTR))
                return HidRead::Failed; // the device went away
        }
    }

private:
    UniqueFd fd_;
};

} // namespace

VirtualHidBackend::VirtualHidBackend(std::vector<std::string> socketPaths)
    : paths_(std::move(socketPaths)) {}

std::vector<std::string> VirtualHidBackend::announced() {
    std::vector<std::string> paths;
    const char* value = std::getenv(kEnvironment);
    if (!value)
        return paths;
    std::string_view rest(value);
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view path = rest.substr(0, colon);
        if (!path.empty())
            paths.emplace_back(path);
        if (colon == std::string_view::npos)
            break;
        rest.remove_prefix(colon + 1);
    }
    return paths;
}

std::vector<HidDeviceInfo> VirtualHidBackend::list() {
    std::vector<HidDeviceInfo> devices;
    for (const std::string& path : paths_) {
        const UniqueFd fd = connectTo(path);
        if (!fd)
            continue; // not served now: not present
        if (auto info = readIdentity(fd.get(), path))
            devices.push_back(std::move(*info));
    }
    return devices;
}

std::unique_ptr<HidDevice> VirtualHidBackend::open(const HidDeviceInfo& info) {
    UniqueFd fd = connectTo(info.path);
    if (!fd)
        return nullptr;
    // The device behind the path may have changed since it was listed.
    const auto identity = readIdentity(fd.get(), info.path);
    if (!identity || identity->vendorId != info.vendorId || identity->productId != info.productId)
        return nullptr;
    return std::make_unique<VirtualHidDevice>(std::move(fd));
}

} // namespace korvan
