#pragma once
// The USB channel: the scale as a HID device (vendor 0x0483, product 0x5750). Every message goes
// out as 65-byte output reports (report ID 0, 64 data bytes, zero-filled behind the message) and
// every answer comes in as input reports, the data up to the first zero byte.
//
// A message of up to 64 bytes is one report, as the scale expects. A longer one (the longer
// download records) goes in consecutive reports of 64 data bytes, the last zero-filled; the scale
// reads on while a report is full and the record has not ended (CR LF). Each input report is one
// answer; a sales line longer than a report is collected by the job routine, which has the link
// read on report by report.
#include <functional>
#include <memory>
#include <string>

#include "link/Channel.h"
#include "link/HidDevice.h"

namespace korvan {

struct UsbReconnect {
    std::chrono::milliseconds firstWait{1000}; // before the first search
    int tries = 50;
    std::chrono::milliseconds interval{200}; // after each search that found nothing
};

class UsbChannel : public Channel {
public:
    // `path`: the device path of the one scale meant (the scale list's); empty: the first
    // scale device found.
    UsbChannel(std::shared_ptr<HidBackend> devices, Lang lang,
               ChannelTiming timing = ChannelTiming::usb(), UsbReconnect reconnect = {},
               std::string path = {});
    ~UsbChannel() override;
    UsbChannel(const UsbChannel&) = delete;
    UsbChannel& operator=(const UsbChannel&) = delete;

    // Searches the scale: 0, or 211 when it is not there.
    [[nodiscard]] int open() override;
    // 0, or 212 when a report is refused or the message cannot be carried (failureText()).
    [[nodiscard]] int send(std::string_view bytes) override;
    // One answer: one input report. 213 when the device fails; nothing within the wait is an
    // empty poll.
    PollResult poll(std::chrono::nanoseconds wait, int wakeFd) override;
    void close() override;
    const ChannelTiming& timing() const override { return timing_; }
    std::string failureText(Lang lang) const override;
    // Shows "In connection." and searches up to 50 times, one dot more after each miss.
    [[nodiscard]] int reconnect(const std::function<void(const std::string&)>& showCount,
                                const PauseUntil& pauseUntil) override;

    // The reports that carry a message (also the zero-filled 64-byte update block). Empty when
    // the message cannot be carried: a long one must end with CR LF, and no report but its last
    // may end with CR LF (the scale would take the message as ended there).
    static std::vector<HidReport> reports(std::string_view message);
    bool carries(std::string_view message) const override { return !reports(message).empty(); }
    // The product string of the device found by the last search.
    const std::string& product() const { return product_; }

private:
    bool search();

    std::shared_ptr<HidBackend> devices_;
    Lang lang_;
    ChannelTiming timing_;
    UsbReconnect reconnect_;
    std::string path_;
    std::unique_ptr<HidDevice> device_;
    std::string product_;
    bool unframable_ = false;
};

} // namespace korvan
