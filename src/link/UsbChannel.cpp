#include "UsbChannel.h"

#include <algorithm>
#include <thread>

#include "link/HidDevices.h"
#include "link/JobRoutine.h"
#include "link/LinkOutcome.h"
#include "link/Protocol.h"

namespace korvan {
namespace {

HidReport reportOf(std::string_view data) {
    HidReport report{};
    std::copy(data.begin(), data.end(), report.begin() + 1);
    return report;
}

// The data of an input report up to its first zero; `full` when no zero ended it.
std::string dataOf(const HidReport& report, bool& full) {
    const auto begin = report.begin() + 1;
    const auto zero = std::find(begin, report.end(), 0);
    full = zero == report.end();
    return std::string(begin, zero);
}

} // namespace

UsbChannel::UsbChannel(std::shared_ptr<HidBackend> devices, Lang lang, ChannelTiming timing,
                       UsbReconnect reconnect)
    : devices_(std::move(devices)), lang_(lang), timing_(timing), reconnect_(reconnect) {}

UsbChannel::~UsbChannel() = default;

std::vector<HidReport> UsbChannel::reports(std::string_view message) {
    if (message.size() <= kHidReportData)
        return {reportOf(message)};
    constexpr std::string_view kEnd = protocol::kRecordEnd;
    if (message.substr(message.size() - kEnd.size()) != kEnd)
        return {};
    std::vector<HidReport> out;
    for (std::size_t at = 0; at < message.size(); at += kHidReportData) {
        const std::string_view piece = message.substr(at, kHidReportData);
        const bool last = at + kHidReportData >= message.size();
        if (!last && piece.substr(piece.size() - kEnd.size()) == kEnd)
            return {};
        out.push_back(reportOf(piece));
    }
    return out;
}

bool UsbChannel::search() {
    device_.reset(); // one handle at a time: the old one goes before the search
    if (!devices_)
        return false;
    auto found = HidDevices::findScale(*devices_);
    if (!found)
        return false;
    device_ = std::move(found->device);
    product_ = found->info.product;
    return true;
}

int UsbChannel::open() {
    unframable_ = false;
    pending_.clear();
    return search() ? 0 : LinkCode::kUsbOpenFailed;
}

int UsbChannel::send(std::string_view bytes) {
    if (!device_)
        return LinkCode::kUsbWriteFailed;
    const std::vector<HidReport> all = reports(bytes);
    if (all.empty()) {
        unframable_ = true;
        return LinkCode::kUsbWriteFailed;
    }
    for (const HidReport& report : all)
        if (!device_->write(report))
            return LinkCode::kUsbWriteFailed;
    return 0;
}

PollResult UsbChannel::poll(std::chrono::milliseconds wait, int wakeFd) {
    PollResult result;
    if (!device_) {
        result.failure = LinkCode::kUsbReadFailed;
        return result;
    }
    for (;;) {
        HidReport report{};
        switch (device_->read(report, wait, wakeFd)) {
        case HidRead::Failed:
            result.failure = LinkCode::kUsbReadFailed;
            return result;
        case HidRead::Woken:
            result.woken = true; // a line begun stays in pending_ for the next poll
            return result;
        case HidRead::Timeout:
            pending_.clear(); // the rest of a line never came: the job ends in silence
            return result;
        case HidRead::Report:
            break;
        }
        bool full = false;
        pending_ += dataOf(report, full);
        // Every answer but a sales line is a single byte: more bytes without a line feed are the
        // start of a line that goes on in the next reports (one report per message sent would
        // leave the rest unread and the job waiting). A scale that never ends its line is cut
        // off where the job routine refuses such a line anyway.
        if (pending_.size() > 1 && pending_.find('\n') == std::string::npos &&
            pending_.size() <= JobRoutine::kMaxRecordLine)
            continue;
        result.bytes = std::move(pending_);
        pending_.clear();
        return result;
    }
}

void UsbChannel::close() {
    device_.reset();
    pending_.clear();
}

std::string UsbChannel::failureText(Lang lang) const {
    if (!unframable_)
        return {};
    return lang == Lang::Chinese
               ? "无法通过USB发送该记录: 记录中的换行正好落在报告边界上"
               : "A record cannot be sent over USB: a line break inside it falls on a report "
                 "border";
}

int UsbChannel::reconnect(const std::function<void(const std::string&)>& showCount) {
    std::string text = LinkOutcomes::reconnecting().get(lang_);
    if (showCount)
        showCount(text);
    device_.reset(); // the scale restarts its side; the old handle is dead
    std::this_thread::sleep_for(reconnect_.firstWait);
    for (int i = 0; i < reconnect_.tries; ++i) {
        if (search())
            return 0;
        std::this_thread::sleep_for(reconnect_.interval);
        text += '.';
        if (showCount)
            showCount(text);
    }
    return LinkCode::kUsbOpenFailed;
}

} // namespace korvan
