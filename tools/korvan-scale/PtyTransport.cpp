#include "PtyTransport.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace korvan::sim {

PtyTransport::PtyTransport(ScaleHost& host) : host_(host) {
    SessionOptions options = host.options();
    options.inlineProbe = true;
    session_ = std::make_unique<ScaleSession>(host.store(), options);
}

PtyTransport::~PtyTransport() {
    closeAll();
}

void PtyTransport::closeAll() {
    if (master_)
        host_.loop().unwatch(master_.get());
    master_.reset();
    slave_.reset();
}

IoResult PtyTransport::open() {
    auto fail = [&](const char* step) {
        const int error = errno;
        closeAll();
        return IoResult::failed(std::string("cannot set up the serial terminal (") + step +
                                    "): " + std::strerror(error),
                                error);
    };
    master_.reset(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!master_)
        return fail("open");
    if (::grantpt(master_.get()) != 0 || ::unlockpt(master_.get()) != 0)
        return fail("unlock");
    char name[128] = {};
    if (::ptsname_r(master_.get(), name, sizeof name) != 0)
        return fail("name");
    path_ = name;
    slave_.reset(::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!slave_)
        return fail("terminal");
    // A raw 9600 8N1 line: no echo, no line editing, no translation of CR or LF.
    termios settings{};
    if (::tcgetattr(slave_.get(), &settings) != 0)
        return fail("settings");
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    settings.c_cflag = (settings.c_cflag & ~(CSIZE | PARENB | CSTOPB)) | CS8 | CLOCAL | CREAD;
    if (::tcsetattr(slave_.get(), TCSANOW, &settings) != 0)
        return fail("settings");
    const int flags = ::fcntl(master_.get(), F_GETFL);
    if (flags < 0 || ::fcntl(master_.get(), F_SETFL, flags | O_NONBLOCK) != 0)
        return fail("non-blocking");
    // The terminal end was opened only to set the line up: a scale holding it open would be a
    // second user of the PC's serial port, which the PC refuses.
    slave_.reset();
    watchMaster();
    return {};
}

void PtyTransport::watchMaster() {
    host_.loop().watch(master_.get(), [this] { readAvailable(); });
}

void PtyTransport::readAvailable() {
    char buffer[4096];
    bool got = false;
    while (true) {
        const ssize_t n = ::read(master_.get(), buffer, sizeof buffer);
        if (n > 0) {
            pending_.append(buffer, static_cast<std::size_t>(n));
            got = true;
            if (pending_.size() >= kMaxMessage)
                break;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EIO && !got) {
            // No PC has the terminal open: the master reports a hang-up until one does. Look
            // again shortly instead of spinning on it.
            host_.loop().unwatch(master_.get());
            host_.loop().after(
                kIdleRecheck,
                [this] {
                    if (master_)
                        watchMaster();
                },
                true);
            return;
        }
        break; // EAGAIN: all read (EIO after data: the PC closed; the data is handled)
    }
    if (!got)
        return;
    if (pending_.size() >= kMaxMessage) {
        endOfMessage(generation_);
        return;
    }
    const std::uint64_t generation = ++generation_;
    host_.loop().after(kMessageGap, [this, generation] { endOfMessage(generation); });
}

void PtyTransport::endOfMessage(std::uint64_t generation) {
    if (generation != generation_ || pending_.empty())
        return; // more bytes came meanwhile; a later timer ends the message
    ++generation_;
    const std::string message = std::move(pending_);
    pending_.clear();
    host_.received(path_, "serial", message);
    host_.deliver(
        session_->receive(message), path_, "serial",
        [this](std::string_view bytes) { return write(bytes); }, kChunkGap);
}

bool PtyTransport::write(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_.get(), bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return false; // the PC does not read: its input queue is full
        }
    }
    return true;
}

} // namespace korvan::sim
