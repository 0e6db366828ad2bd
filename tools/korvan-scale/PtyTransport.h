#pragma once
// The serial link, on a pseudo-terminal: the PC opens the terminal's path as its serial port.
// A serial line has no message borders, so a message is the bytes that arrive until the line
// has been quiet for a short gap (the PC writes a whole message, then waits at least 200 ms).
// The link test byte 0xA5 is answered on the line itself, outside a job.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "ScaleHost.h"
#include "Transport.h"
#include "common/UniqueFd.h"

namespace korvan::sim {

class PtyTransport : public Transport {
public:
    // Quiet time that ends a message.
    static constexpr std::chrono::milliseconds kMessageGap{30};
    // Pause between the pieces of a split answer: longer than the PC's 100 ms poll, so each
    // piece arrives as a poll of its own.
    static constexpr std::chrono::milliseconds kChunkGap{150};
    // How often the line is looked at while no PC has the terminal open.
    static constexpr std::chrono::milliseconds kIdleRecheck{20};
    // A message longer than this without a pause is cut here (nothing the PC sends comes near).
    static constexpr std::size_t kMaxMessage = 64 * 1024;

    explicit PtyTransport(ScaleHost& host);
    ~PtyTransport() override;
    PtyTransport(const PtyTransport&) = delete;
    PtyTransport& operator=(const PtyTransport&) = delete;

    IoResult open() override;
    std::string describe() const override { return "serial " + path_; }
    // The terminal the PC opens, e.g. /dev/pts/3 (after open).
    const std::string& path() const { return path_; }

private:
    void watchMaster();
    void readAvailable();
    void endOfMessage(std::uint64_t generation);
    bool write(std::string_view bytes);
    void closeAll();

    ScaleHost& host_;
    std::unique_ptr<ScaleSession> session_;
    UniqueFd master_;
    UniqueFd slave_; // open only while the line is set up
    std::string path_;
    std::string pending_;          // bytes of the message being received
    std::uint64_t generation_ = 0; // bumped by every read, so only the last gap timer counts
};

} // namespace korvan::sim
