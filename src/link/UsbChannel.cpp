#include "UsbChannel.h"

#include <algorithm>

#include "link/HidDevices.h"
#include "link/LinkOutcome.h"
#include "link/Protocol.h"

namespace korvan {
namespace {

HidReport reportOf(std::string_view data) {
    HidReport report{};
    std::copy(data.begin(), data.end(), report.begin() + 1);
    return report;
}

// The data of an input report up to its first zero.
std::string dataOf(const HidReport& report) {
    const auto begin = report.begin() + 1;
    return std::string(begin, std::find(begin, report.end(), 0));
}

} // namespace

UsbChannel::UsbChannel(std::shared_ptr<HidBackend> devices, Lang lang, ChannelTiming timing,
                       UsbReconnect reconnect, std::string path)
    : devices_(std::move(devices)), lang_(lang), timing_(timing), reconnect_(reconnect),
      path_(std::move(path)) {}

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
    auto found = HidDevices::findScale(*devices_, path_);
    if (!found)
        return false;
    device_ = std::move(found->device);
    product_ = found->info.product;
    return true;
}

int UsbChannel::open() {
    unframable_ = false;
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

PollResult UsbChannel::poll(std::chrono::nanoseconds wait, int wakeFd) {
    PollResult result;
    if (!device_) {
        result.failure = LinkCode::kUsbReadFailed;
        return result;
    }
    // One report is one answer. A sales line longer than a report goes on in the next ones:
    // the job routine collects it and asks the loop to read on, each report within the wait.
    HidReport report{};
    switch (device_->read(report, std::chrono::ceil<std::chrono::milliseconds>(wait), wakeFd)) {
    case HidRead::Failed:
        result.failure = LinkCode::kUsbReadFailed;
        break;
    case HidRead::Woken:
        result.woken = true;
        break;
    case HidRead::Timeout:
        break; // an empty poll: silence
    case HidRead::Report:
        result.bytes = dataOf(report);
        break;
    }
    return result;
}

void UsbChannel::close() {
    device_.reset();
}

std::string UsbChannel::failureText(Lang lang) const {
    if (!unframable_)
        return {};
    return lang == Lang::Chinese
               ? "无法通过USB发送该记录: 记录中的换行正好落在报告边界上"
               : "A record cannot be sent over USB: a line break inside it falls on a report "
                 "border";
}

int UsbChannel::reconnect(const std::function<void(const std::string&)>& showCount,
                          const PauseUntil& pauseUntil) {
    std::string text = LinkOutcomes::reconnecting().get(lang_);
    if (showCount)
        showCount(text);
    device_.reset(); // the scale restarts its side; the old handle is dead
    using Clock = std::chrono::steady_clock;
    if (!pauseUntil(Clock::now() + reconnect_.firstWait))
        return LinkCode::kUsbOpenFailed;
    for (int i = 0; i < reconnect_.tries; ++i) {
        if (search())
            return 0;
        if (!pauseUntil(Clock::now() + reconnect_.interval))
            return LinkCode::kUsbOpenFailed;
        text += '.';
        if (showCount)
            showCount(text);
    }
    return LinkCode::kUsbOpenFailed;
}

} // namespace korvan
