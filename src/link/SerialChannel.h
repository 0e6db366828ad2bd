#pragma once
// The serial channel: the scale on an RS-232 line (or a USB serial adapter) at 9600 baud, 8 data
// bits, no parity, one stop bit, no handshake, raw bytes. The port is held exclusively for the
// job: another program that holds it (open, locked, or by its UUCP lock file) makes open fail,
// and nobody else may open it meanwhile.
#include <memory>
#include <string>

#include "common/UniqueFd.h"
#include "link/Channel.h"
#include "link/SerialLock.h"

namespace korvan {

class SerialChannel : public Channel {
public:
    // Bytes taken from the line per poll, as the scale's answers are short.
    static constexpr std::size_t kReceiveSize = 100;

    // `portName` is what the operator chose ("COM3"), `device` the path it maps to.
    SerialChannel(std::string portName, std::string device,
                  ChannelTiming timing = ChannelTiming::serial(),
                  SerialLock::Places lockPlaces = {});
    // A port whose device could not be found out (the port map cannot be read): open fails
    // with 251 and `reason` (in the operator's language) as its text.
    static std::unique_ptr<SerialChannel> unmapped(std::string portName, std::string reason);
    ~SerialChannel() override;
    SerialChannel(const SerialChannel&) = delete;
    SerialChannel& operator=(const SerialChannel&) = delete;

    // 0, or 251 when the device cannot be opened or set up, or another program holds it
    // (failureText() says which). Bytes already waiting in either direction are dropped.
    [[nodiscard]] int open() override;
    // Writes the whole message, waiting up to a second for the line to take it. A device that
    // refuses the bytes (an adapter pulled out) gives 254 at once rather than a long silence.
    [[nodiscard]] int send(std::string_view bytes) override;
    // Waits on the port for up to `wait`, then takes what has arrived (at most 100 bytes).
    PollResult poll(std::chrono::nanoseconds wait, int wakeFd) override;
    void close() override;
    const ChannelTiming& timing() const override { return timing_; }
    std::string failureText(Lang lang) const override;

    const std::string& device() const { return device_; }

private:
    std::string portName_;
    std::string device_;
    ChannelTiming timing_;
    UniqueFd fd_;
    SerialLock lock_;
    std::string unmappedReason_;
    int openErrno_ = 0;
    bool heldElsewhere_ = false;
    pid_t holder_ = 0; // the other process, when known
    int sendErrno_ = 0;
};

} // namespace korvan
