#include "HidTransport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "Wire.h"

namespace korvan::sim {

HidTransport::HidTransport(ScaleHost& host, HidSettings settings)
    : host_(host), settings_(std::move(settings)) {
    SessionOptions options = host.options();
    options.inlineProbe = true; // the USB test sends its probe as a report
    session_ = std::make_unique<ScaleSession>(host.store(), options);
}

HidTransport::~HidTransport() {
    for (auto& [fd, connection] : connections_)
        host_.loop().unwatch(fd);
    connections_.clear();
    if (listener_) {
        host_.loop().unwatch(listener_.get());
        listener_.reset();
        ::unlink(settings_.socketPath.c_str());
    }
}

std::string HidTransport::identity(const HidSettings& settings) {
    std::string packet = "KHID";
    packet += static_cast<char>(settings.vendorId >> 8);
    packet += static_cast<char>(settings.vendorId & 0xFF);
    packet += static_cast<char>(settings.productId >> 8);
    packet += static_cast<char>(settings.productId & 0xFF);
    packet += settings.product;
    return packet;
}

IoResult HidTransport::open() {
    return listen();
}

IoResult HidTransport::listen() {
    auto fail = [&](const std::string& step) {
        const int error = errno;
        listener_.reset();
        return IoResult::failed("cannot serve the USB device on " + settings_.socketPath + " (" +
                                    step + "): " + std::strerror(error),
                                error);
    };
    sockaddr_un address{};
    if (settings_.socketPath.empty() || settings_.socketPath.size() >= sizeof address.sun_path) {
        errno = ENAMETOOLONG;
        return fail("path");
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, settings_.socketPath.data(), settings_.socketPath.size());
    listener_.reset(::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!listener_)
        return fail("socket");
    // A socket file left by an earlier run that ended abruptly is not a device being served.
    ::unlink(settings_.socketPath.c_str());
    if (::bind(listener_.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return fail("bind");
    if (::listen(listener_.get(), 8) != 0)
        return fail("listen");
    host_.loop().watch(listener_.get(), [this] { accept(); });
    return {};
}

void HidTransport::accept() {
    for (;;) {
        UniqueFd fd(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
        if (!fd)
            return; // EAGAIN: no more waiting
        const std::string packet = identity(settings_);
        if (::send(fd.get(), packet.data(), packet.size(), MSG_NOSIGNAL) < 0)
            continue;
        const int raw = fd.get();
        Connection connection{std::move(fd), {}, "usb#" + std::to_string(++connectionCounter_)};
        connections_.emplace(raw, std::move(connection));
        host_.loop().watch(raw, [this, raw] { readReport(raw); });
    }
}

void HidTransport::drop(int fd) {
    host_.loop().unwatch(fd);
    connections_.erase(fd);
}

void HidTransport::readReport(int fd) {
    auto at = connections_.find(fd);
    if (at == connections_.end())
        return;
    Connection& connection = at->second;
    unsigned char report[kReportSize + 1];
    const ssize_t n = ::recv(fd, report, sizeof report, MSG_DONTWAIT);
    if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
        drop(fd); // the PC closed the device (or only listed it)
        return;
    }
    if (n < 0)
        return;
    if (static_cast<std::size_t>(n) != kReportSize || report[0] != 0) {
        host_.note("ignored a report of " + std::to_string(n) + " bytes on " + connection.name);
        return;
    }
    const char* data = reinterpret_cast<const char*>(report + 1);
    std::string message;
    if (session_->expectsBlock()) {
        message.assign(data, kReportData);
    } else {
        const std::size_t length =
            std::find(data, data + kReportData, '\0') - data; // up to the first zero
        connection.pending.append(data, length);
        const bool full = length == kReportData;
        const bool ended = connection.pending.size() >= wire::kRecordEnd.size() &&
                           connection.pending.ends_with(wire::kRecordEnd);
        if (full && !ended && connection.pending.size() < kMaxMessage)
            return; // the message goes on in the next report
        message = std::move(connection.pending);
        connection.pending.clear();
    }
    const std::string name = connection.name;
    host_.received(name, "usb", message);
    Answer answer = session_->receive(message);
    // The link has no chunk borders of its own: an answer goes as one stream of reports.
    std::string whole;
    for (const std::string& chunk : answer.chunks)
        whole += chunk;
    const bool restarts = whole.size() == 1 && whole[0] == wire::kRestart;
    if (!answer.chunks.empty())
        answer.chunks.assign(1, whole);
    host_.deliver(std::move(answer), name, "usb", [this, fd, restarts](std::string_view bytes) {
        const bool sent = connections_.count(fd) && sendAnswer(fd, bytes);
        if (restarts)
            restart();
        return sent;
    });
}

bool HidTransport::sendAnswer(int fd, std::string_view bytes) {
    // Every answer is at least one report, also an empty one.
    std::size_t at = 0;
    do {
        char report[kReportSize] = {};
        const std::string_view piece = bytes.substr(at, kReportData);
        std::copy(piece.begin(), piece.end(), report + 1);
        if (::send(fd, report, sizeof report, MSG_NOSIGNAL) != static_cast<ssize_t>(kReportSize))
            return false;
        at += kReportData;
    } while (at < bytes.size());
    return true;
}

void HidTransport::restart() {
    if (restarting_)
        return;
    restarting_ = true;
    host_.note("USB device restarts for " + std::to_string(settings_.restartTime.count()) + " ms");
    // Gone from the system before the PC hears the connection drop.
    if (listener_) {
        host_.loop().unwatch(listener_.get());
        listener_.reset();
    }
    ::unlink(settings_.socketPath.c_str());
    for (auto& [fd, connection] : connections_)
        host_.loop().unwatch(fd);
    connections_.clear();
    host_.loop().after(settings_.restartTime, [this] {
        restarting_ = false;
        if (const IoResult listening = listen(); !listening)
            host_.note(listening.why());
    });
}

} // namespace korvan::sim
