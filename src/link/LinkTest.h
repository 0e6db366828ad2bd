#pragma once
// The link tests of the communication settings: one probe byte (0xA5) over the chosen link, and
// what the scale's answer means. The caller writes the settings when the outcome says so (a
// passed serial or network test; a USB test that got to read an answer), and shows the prompts.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/Language.h"
#include "link/HidDevice.h"
#include "link/LinkSettings.h"
#include "link/Protocol.h"

namespace korvan {

enum class LinkTestResult {
    Passed,      // the scale answered the probe with itself
    Busy,        // the scale answered 0x0B
    WrongAnswer, // anything else came back
    NoAnswer,    // nothing came back
    OpenFailed,  // the serial port or the network sockets could not be set up
    NoDevice,    // no USB device of the scale
    NoLink,      // the settings name no link
};

struct LinkTestOutcome {
    LinkTestResult result = LinkTestResult::NoAnswer;
    std::vector<std::string> prompts; // shown one after another (UTF-8)
    std::string detail;               // why a port could not be opened, when known
    bool saveSettings = false;
    // USB: the device info text (CR LF between lines) and the product string of the device.
    std::string deviceInfo;
    std::string product;

    bool passed() const { return result == LinkTestResult::Passed; }
};

// Where the tests reach the scale. The product's values are fixed; tests use free ports.
struct LinkTestTargets {
    std::uint16_t localPort = protocol::kPcPort;
    std::uint16_t probePort = protocol::kProbePort;
    std::string serialDevice; // the device the serial port name maps to
    std::shared_ptr<HidBackend> hidDevices;
};

struct UsbSearchResult {
    std::unique_ptr<HidDevice> device; // open when found
    std::string info;                  // the device info text
    std::string product;
};

class LinkTest {
public:
    static LinkTestOutcome serial(const std::string& portName, const std::string& device,
                                  Lang lang);
    static LinkTestOutcome network(const std::string& targetIp, std::uint16_t localPort,
                                   std::uint16_t probePort, Lang lang);
    // `path`: the one device meant (a scale list's); empty: the first scale device.
    static LinkTestOutcome usb(HidBackend& devices, Lang lang, const std::string& path = {});
    // The test of the link `settings` name.
    static LinkTestOutcome run(const LinkSettings& settings, const LinkTestTargets& targets,
                               Lang lang);

    // The settings screen's USB search: the device info text and, when found, the product
    // string and the open device (the screen closes it again).
    static UsbSearchResult usbSearch(HidBackend& devices, Lang lang, const std::string& path = {});

    // Texts of the tests (English, Chinese) that screens show too.
    static Tr passedText();
    static Tr busyText();
    static Tr wrongAnswerText();
    static Tr noAnswerText();
    static Tr portFailedText();
    static Tr noDeviceText();
};

} // namespace korvan
