#include "LinkTest.h"

#include <thread>

#include "link/HidDevices.h"
#include "link/LinkOutcome.h"
#include "link/SerialChannel.h"
#include "link/UdpChannel.h"

namespace korvan {
namespace {

using namespace std::chrono_literals;
using protocol::kBusy;
using protocol::kProbe;

const std::string kProbeMessage(1, kProbe);

// What one answer to the probe means.
void judge(const std::string& answer, Lang lang, LinkTestOutcome& outcome) {
    if (answer == kProbeMessage) {
        outcome.result = LinkTestResult::Passed;
        outcome.prompts.push_back(LinkTest::passedText().get(lang));
    } else if (answer.size() == 1 && answer[0] == kBusy) {
        outcome.result = LinkTestResult::Busy;
        outcome.prompts.push_back(LinkTest::busyText().get(lang));
    } else {
        outcome.result = LinkTestResult::WrongAnswer;
        outcome.prompts.push_back(LinkTest::wrongAnswerText().get(lang));
    }
}

void noAnswer(Lang lang, LinkTestOutcome& outcome) {
    outcome.result = LinkTestResult::NoAnswer;
    outcome.prompts.push_back(LinkTest::noAnswerText().get(lang));
}

// Sends the probe byte on an open channel and waits for the first answer, `tries` polls of
// 100 ms each after `pause`; the answer decides, and a scale that answers the probe may have its
// settings kept. Closes the channel.
void probe(Channel& channel, std::chrono::milliseconds pause, int tries, Lang lang,
           LinkTestOutcome& outcome) {
    if (channel.send(kProbeMessage) == 0) {
        std::this_thread::sleep_for(pause);
        for (int attempt = 0; attempt < tries; ++attempt) {
            PollResult polled = channel.poll(100ms, -1);
            if (!polled.bytes.empty()) {
                judge(polled.bytes, lang, outcome);
                outcome.saveSettings = outcome.passed();
                channel.close();
                return;
            }
        }
    }
    channel.close();
    noAnswer(lang, outcome);
}

} // namespace

Tr LinkTest::passedText() {
    return {"测试成功", "Successful"};
}
Tr LinkTest::busyText() {
    return {"电子秤正在使用", "The scale is in use"};
}
Tr LinkTest::wrongAnswerText() {
    return {"收到错误数据", "Receives error data"};
}
Tr LinkTest::noAnswerText() {
    return {"测试失败", "Test failed"};
}
Tr LinkTest::portFailedText() {
    return {"串口打开失败", "Failed to open serial port"};
}
Tr LinkTest::noDeviceText() {
    return {"不能发现USB接口设备", "Can't find USB device"};
}

LinkTestOutcome LinkTest::serial(const std::string& portName, const std::string& device,
                                 Lang lang) {
    LinkTestOutcome outcome;
    SerialChannel channel(portName, device);
    if (channel.open() != 0) {
        outcome.result = LinkTestResult::OpenFailed;
        outcome.prompts.push_back(portFailedText().get(lang));
        outcome.detail = channel.failureText(lang);
        return outcome;
    }
    std::this_thread::sleep_for(100ms);
    // Up to ten looks at the line, 100 ms apart, after a pause for the scale.
    probe(channel, 100ms, 10, lang, outcome);
    return outcome;
}

LinkTestOutcome LinkTest::network(const std::string& targetIp, std::uint16_t localPort,
                                  std::uint16_t probePort, Lang lang) {
    LinkTestOutcome outcome;
    // The probe goes to the scale's test port; answers come back to the PC's port as in a job.
    UdpChannel channel(targetIp, localPort, probePort);
    if (const int failure = channel.open(); failure != 0) {
        outcome.result = LinkTestResult::OpenFailed;
        outcome.detail = channel.failureText(lang);
        if (outcome.detail.empty())
            outcome.detail = LinkOutcomes::message(failure).get(lang);
        return outcome; // the screen shows no prompt here
    }
    // Up to twenty tries, 100 ms apart; the first datagram decides.
    probe(channel, 0ms, 20, lang, outcome);
    return outcome;
}

UsbSearchResult LinkTest::usbSearch(HidBackend& devices, Lang lang, const std::string& path) {
    const bool zh = lang == Lang::Chinese;
    UsbSearchResult search;
    search.info = zh ? "正在查找USB设备......" : "Looking for USB devices...";
    auto found = HidDevices::findScale(devices, path);
    if (found) {
        search.info += "\r\n";
        search.info += zh ? "发现USB设备\r\n" : "Discovery of USB devices\r\n";
        search.product = found->info.product;
        search.info += search.product + "\r\n";
        search.device = std::move(found->device);
        search.info += zh ? "设备有效\r\n" : "Effective equipment\r\n";
    } else {
        search.info += "\r\n";
        search.info += noDeviceText().get(lang);
        search.info += "\r\n";
    }
    return search;
}

LinkTestOutcome LinkTest::usb(HidBackend& devices, Lang lang, const std::string& path) {
    LinkTestOutcome outcome;
    UsbSearchResult search = usbSearch(devices, lang, path);
    outcome.deviceInfo = search.info;
    outcome.product = search.product;
    if (!search.device) {
        outcome.result = LinkTestResult::NoDevice;
        outcome.prompts.push_back(noDeviceText().get(lang));
        return outcome;
    }
    HidReport report{};
    report[1] = static_cast<unsigned char>(kProbe);
    if (search.device->write(report))
        outcome.deviceInfo += "Write data completion\r\n";
    else
        outcome.prompts.push_back("Write: ERROR_IO_PENDING");
    // The answer decides even after a time-out (an empty report then, a wrong answer).
    HidReport answer{};
    switch (search.device->read(answer, 5000ms, -1)) {
    case HidRead::Failed:
        outcome.result = LinkTestResult::WrongAnswer;
        outcome.prompts.push_back("Read: != ERROR_IO_PENDING");
        break;
    case HidRead::Timeout:
    case HidRead::Woken:
        outcome.prompts.push_back("USB read data timeout");
        judge(std::string(1, static_cast<char>(answer[1])), lang, outcome);
        if (answer[1] == 0)
            outcome.result = LinkTestResult::NoAnswer;
        break;
    case HidRead::Report:
        judge(std::string(1, static_cast<char>(answer[1])), lang, outcome);
        break;
    }
    // The screen stores its values after a USB test whatever the scale answered.
    outcome.saveSettings = true;
    return outcome;
}

LinkTestOutcome LinkTest::run(const LinkSettings& settings, const LinkTestTargets& targets,
                              Lang lang) {
    switch (settings.mode) {
    case LinkMode::Serial:
        return serial(settings.port, targets.serialDevice, lang);
    case LinkMode::Network:
        return network(settings.targetIp, targets.localPort, targets.probePort, lang);
    case LinkMode::Usb:
        return targets.hidDevices ? usb(*targets.hidDevices, lang, settings.devicePath)
                                  : usb(*HidDevices::system(), lang, settings.devicePath);
    case LinkMode::None:
        break;
    }
    LinkTestOutcome outcome;
    outcome.result = LinkTestResult::NoLink;
    return outcome;
}

} // namespace korvan
