// The USB channel over a scripted HID backend: how messages become reports, how answers are
// taken from them, which device the search picks, and the reconnect search.
#include "link/UsbChannel.h"

#include <gtest/gtest.h>
#include <sys/eventfd.h>

#include <deque>

#include "common/UniqueFd.h"
#include "link/HidDevices.h"
#include "link/LinkControl.h"
#include "link/LinkOutcome.h"
#include "link/LinkTest.h"
#include "link/TransferRunner.h"
#include "link/UpdateImage.h"
#include "support/TempDir.h"

using namespace korvan;
using namespace std::chrono_literals;

namespace {

constexpr std::uint16_t kVid = HidDevices::kScaleVendorId;
constexpr std::uint16_t kPid = HidDevices::kScaleProductId;

// One scripted device: what the PC wrote, and the reports it will read.
struct FakeHid {
    std::vector<HidReport> written;
    std::deque<HidReport> toRead;
    bool failWrites = false;
    bool failReads = false;

    void answer(std::string_view data) {
        HidReport report{};
        std::copy(data.begin(), data.end(), report.begin() + 1);
        toRead.push_back(report);
    }
};

class FakeDevice : public HidDevice {
public:
    explicit FakeDevice(std::shared_ptr<FakeHid> hid) : hid_(std::move(hid)) {}
    bool write(const HidReport& report) override {
        if (hid_->failWrites)
            return false;
        hid_->written.push_back(report);
        return true;
    }
    HidRead read(HidReport& report, std::chrono::milliseconds, int wakeFd) override {
        if (hid_->failReads)
            return HidRead::Failed;
        if (hid_->toRead.empty()) {
            std::uint64_t count = 0;
            if (wakeFd >= 0 && ::read(wakeFd, &count, sizeof count) > 0)
                return HidRead::Woken;
            return HidRead::Timeout;
        }
        report = hid_->toRead.front();
        hid_->toRead.pop_front();
        return HidRead::Report;
    }

private:
    std::shared_ptr<FakeHid> hid_;
};

// The interfaces present; `opens` lists the paths opened, and the scale shows up after
// `absentSearches` lists.
struct FakeBackend : HidBackend {
    std::vector<HidDeviceInfo> devices;
    std::vector<std::string> unopenable;
    std::shared_ptr<FakeHid> hid = std::make_shared<FakeHid>();
    std::vector<std::string> opens;
    int absentSearches = 0;
    int lists = 0;

    std::vector<HidDeviceInfo> list() override {
        ++lists;
        if (lists <= absentSearches)
            return {};
        return devices;
    }
    std::unique_ptr<HidDevice> open(const HidDeviceInfo& info) override {
        opens.push_back(info.path);
        if (std::find(unopenable.begin(), unopenable.end(), info.path) != unopenable.end())
            return nullptr;
        return std::make_unique<FakeDevice>(hid);
    }
};

HidDeviceInfo device(std::string path, std::uint16_t vid = kVid, std::uint16_t pid = kPid) {
    return {std::move(path), vid, pid, "Scale " + std::to_string(vid), 0};
}

std::string dataOf(const HidReport& report) {
    return std::string(report.begin() + 1, report.end());
}

std::string padded(std::string_view data) {
    std::string out(data);
    out.resize(kHidReportData, '\0');
    return out;
}

std::string repeat(char c, std::size_t n) {
    return std::string(n, c);
}

UsbReconnect quickReconnect() {
    return {1ms, 50, 1ms};
}

} // namespace

TEST(UsbChannel, MessagesBecomeReportsOf64DataBytesWithReportIdZero) {
    const std::string record62 = repeat('a', 62) + "\r\n"; // exactly one report
    const std::string record100 = repeat('b', 98) + "\r\n";
    const std::string record128 = repeat('c', 126) + "\r\n";
    std::string block(64, '\0');
    block[0] = '\x12';
    block[40] = '\x34'; // an update block keeps its zeros
    struct Case {
        std::string message;
        std::vector<std::string> data; // each report's 64 data bytes
    } cases[] = {
        {"\xAA", {padded("\xAA")}},
        {"\xAA\xBB\xCC\xDD", {padded("\xAA\xBB\xCC\xDD")}},
        {block, {block}},
        {record62, {record62}},
        {record100, {record100.substr(0, 64), padded(record100.substr(64))}},
        {record128, {record128.substr(0, 64), record128.substr(64)}},
        // Longer messages the scale could not tell apart: no record end, or a line break that
        // would end the message at a report border.
        {repeat('d', 70), {}},
        {repeat('e', 62) + "\r\n" + repeat('f', 10) + "\r\n", {}},
    };
    for (const Case& c : cases) {
        const auto reports = UsbChannel::reports(c.message);
        ASSERT_EQ(reports.size(), c.data.size()) << c.message.size();
        for (std::size_t i = 0; i < reports.size(); ++i) {
            EXPECT_EQ(reports[i][0], 0);
            EXPECT_EQ(dataOf(reports[i]), c.data[i]) << c.message.size() << " report " << i;
        }
    }
}

TEST(UsbChannel, SendWritesEveryReportAndFailuresAre212) {
    auto backend = std::make_shared<FakeBackend>();
    backend->devices = {device("scale")};
    UsbChannel channel(backend, Lang::English);
    ASSERT_EQ(channel.open(), 0);
    const std::string record = repeat('x', 100) + "\r\n";
    EXPECT_EQ(channel.send(record), 0);
    ASSERT_EQ(backend->hid->written.size(), 2u);
    EXPECT_EQ(dataOf(backend->hid->written[0]) + dataOf(backend->hid->written[1]),
              padded(record.substr(0, 64)) + padded(record.substr(64)));
    EXPECT_EQ(channel.failureText(Lang::English), "");

    EXPECT_EQ(channel.send(repeat('y', 80)), LinkCode::kUsbWriteFailed);
    EXPECT_NE(channel.failureText(Lang::English).find("report border"), std::string::npos);
    backend->hid->failWrites = true;
    EXPECT_EQ(channel.send("\xAA"), LinkCode::kUsbWriteFailed);
}

TEST(UsbChannel, UpdateBlocksAreZeroFilledBehindTheFile) {
    test::TempDir dir;
    const std::string image = repeat('\x5A', 64) + "\x01";
    test::writeBytes(dir / "a.bin", image);
    UpdateImage file;
    ASSERT_EQ(file.open(dir / "a.bin"), 0);
    EXPECT_EQ(file.blockCount(), 2);
    std::string first, last;
    ASSERT_EQ(file.readBlock(first), UpdateImage::Block::Read);
    ASSERT_EQ(file.readBlock(last), UpdateImage::Block::Read);
    const auto reports = UsbChannel::reports(last);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(dataOf(reports[0]), "\x01" + std::string(63, '\0'));
    EXPECT_EQ(dataOf(UsbChannel::reports(first)[0]), first);
}

// A scale that follows the report framing literally: one input report per answer, a sales line
// longer than a report in the reports after it. Only a sales line is read on; silence still
// ends a line that never finishes.
TEST(UsbChannel, AgainstALiteralPeerOnlySalesLinesAreReadOnAndSilenceCounts) {
    const std::string line = "2026-03-01 10:00\x0C" + repeat('N', 120) + "\r\n"; // 3 reports
    const std::string second = "2026\x0Cn\x0Cw\x0Cp\x0Ct\r\n";
    using Reports = std::vector<std::string>;
    struct Case {
        const char* name;
        JobKind kind;
        Reports answers; // the input reports, in order; none left is silence
        Reports times;   // field 1 of each record taken
        std::string message;
    } cases[] = {
        {"a line over three reports, and one whose first report holds one byte",
         JobKind::ReadRecords,
         {"\xAA", "\x0D", line.substr(0, 64), line.substr(64, 64), line.substr(128),
          second.substr(0, 1), second.substr(1), "\x0F"},
         {"2026-03-01 10:00", "2026"},
         "2Data download completed"},
        {"two answer bytes in one report outside a sales line",
         JobKind::ClearRecords,
         {"\xAA", "\x0D\x0D"},
         {},
         "Data error"},
        {"a line whose rest never comes",
         JobKind::ReadRecords,
         {"\xAA", "\x0D", "2"},
         {},
         "USB interface did not respond"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto backend = std::make_shared<FakeBackend>();
        backend->devices = {device("scale")};
        for (const std::string& answer : c.answers)
            backend->hid->answer(answer);
        std::vector<std::string> times;
        JobRequest request{ClearRecordsPayload{}};
        if (c.kind == JobKind::ReadRecords)
            request = {
                ReadRecordsPayload{0, [&](const SalesRecord& r) { times.push_back(r.fields[0]); }}};
        LinkSettings usb;
        usb.setMode(LinkMode::Usb);
        TransferObserver observer;
        TransferRunner runner(
            request, usb,
            [&](const LinkSettings&) {
                return std::make_unique<UsbChannel>(backend, Lang::English);
            },
            observer, Lang::English);
        runner.start();
        EXPECT_EQ(runner.waitAndProcess().message, c.message);
        EXPECT_EQ(times, c.times);
    }
}

TEST(UsbChannel, TheSearchTakesTheFirstScaleThatOpensAmongTheFirst128Interfaces) {
    struct Case {
        const char* name;
        std::vector<HidDeviceInfo> devices;
        std::vector<std::string> unopenable;
        std::string found; // "" for none
    };
    std::vector<HidDeviceInfo> many;
    for (int i = 0; i < 128; ++i)
        many.push_back(device("kbd" + std::to_string(i), 0x046D, 0xC31C));
    std::vector<HidDeviceInfo> lastLooked = many;
    lastLooked[127] = device("scale127");
    std::vector<HidDeviceInfo> tooFar = many;
    tooFar.push_back(device("scale128"));
    const Case cases[] = {
        {"none", {}, {}, ""},
        {"another device first", {device("mouse", 0x046D, 0xC077), device("scale")}, {}, "scale"},
        {"same vendor, other product", {device("st", kVid, 0x5740), device("scale")}, {}, "scale"},
        {"first scale does not open", {device("held"), device("scale2")}, {"held"}, "scale2"},
        {"only foreign devices", {device("mouse", 0x046D, 0xC077)}, {}, ""},
        {"at index 127", lastLooked, {}, "scale127"},
        {"at index 128", tooFar, {}, ""},
    };
    for (const Case& c : cases) {
        FakeBackend backend;
        backend.devices = c.devices;
        backend.unopenable = c.unopenable;
        const auto found = HidDevices::findScale(backend);
        EXPECT_EQ(found ? found->info.path : "", c.found) << c.name;
        // Other devices are passed over without being opened.
        for (const std::string& opened : backend.opens)
            EXPECT_TRUE(opened.starts_with("scale") || opened == "held") << c.name << opened;
    }
}

TEST(UsbChannel, ReconnectShowsOneMoreDotPerMissedSearch) {
    auto backend = std::make_shared<FakeBackend>();
    backend->devices = {device("scale")};
    UsbChannel channel(backend, Lang::English, ChannelTiming::usb(), quickReconnect());
    ASSERT_EQ(channel.open(), 0);
    backend->lists = 0;
    backend->absentSearches = 3;
    std::vector<std::string> shown;
    LinkControl control;
    control.start();
    const auto pause = [&](auto deadline) { return control.pauseUntil(deadline); };
    EXPECT_EQ(channel.reconnect([&](const std::string& text) { shown.push_back(text); }, pause), 0);
    EXPECT_EQ(shown, (std::vector<std::string>{"In connection.", "In connection..",
                                               "In connection...", "In connection...."}));
    EXPECT_EQ(channel.send("\xAA"), 0); // the device found again carries the next message

    // Never found again: 50 searches, 50 dots, then 211.
    backend->lists = 0;
    backend->absentSearches = 1000;
    shown.clear();
    UsbChannel chinese(backend, Lang::Chinese, ChannelTiming::usb(), quickReconnect());
    EXPECT_EQ(chinese.reconnect([&](const std::string& text) { shown.push_back(text); }, pause),
              LinkCode::kUsbOpenFailed);
    EXPECT_EQ(backend->lists, 50);
    ASSERT_EQ(shown.size(), 51u);
    EXPECT_EQ(shown.front(), "连接中.");
    EXPECT_EQ(shown.back(), "连接中." + std::string(50, '.'));

    // A stop ends the search at once, not after the 11 s of a full one.
    UsbChannel stopped(backend, Lang::English, ChannelTiming::usb(), {1s, 50, 200ms});
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_EQ(stopped.reconnect([&](const std::string&) { control.stop(); }, pause),
              LinkCode::kUsbOpenFailed);
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 500ms);
}

TEST(UsbChannel, NoScaleIs211) {
    auto backend = std::make_shared<FakeBackend>();
    backend->devices = {device("mouse", 0x046D, 0xC077)};
    UsbChannel channel(backend, Lang::English);
    EXPECT_EQ(channel.open(), LinkCode::kUsbOpenFailed);
    EXPECT_EQ(channel.send("\xAA"), LinkCode::kUsbWriteFailed);
}

TEST(LinkTest, UsbProbeAnswersAndWhenTheSettingsAreStored) {
    struct Case {
        const char* name;
        std::vector<std::string> answers;
        bool failWrites, failReads;
        LinkTestResult result;
        std::vector<std::string> prompts;
    } cases[] = {
        {"passed", {"\xA5"}, false, false, LinkTestResult::Passed, {"Successful"}},
        {"busy", {"\x0B"}, false, false, LinkTestResult::Busy, {"The scale is in use"}},
        {"wrong", {"\x0D"}, false, false, LinkTestResult::WrongAnswer, {"Receives error data"}},
        {"silent",
         {},
         false,
         false,
         LinkTestResult::NoAnswer,
         {"USB read data timeout", "Receives error data"}},
        {"write refused",
         {"\xA5"},
         true,
         false,
         LinkTestResult::Passed,
         {"Write: ERROR_IO_PENDING", "Successful"}},
        {"read failed",
         {},
         false,
         true,
         LinkTestResult::WrongAnswer,
         {"Read: != ERROR_IO_PENDING"}},
    };
    for (const Case& c : cases) {
        FakeBackend backend;
        backend.devices = {device("scale")};
        backend.devices[0].product = "POS Scale";
        for (const std::string& answer : c.answers)
            backend.hid->answer(answer);
        backend.hid->failWrites = c.failWrites;
        backend.hid->failReads = c.failReads;
        const LinkTestOutcome outcome = LinkTest::usb(backend, Lang::English);
        EXPECT_EQ(outcome.result, c.result) << c.name;
        EXPECT_EQ(outcome.prompts, c.prompts) << c.name;
        EXPECT_TRUE(outcome.saveSettings) << c.name; // whatever the scale answered
        EXPECT_EQ(outcome.product, "POS Scale");
        if (!c.failWrites) {
            ASSERT_EQ(backend.hid->written.size(), 1u) << c.name;
            EXPECT_EQ(dataOf(backend.hid->written[0]), padded("\xA5")) << c.name;
        }
    }

    FakeBackend none;
    const LinkTestOutcome missing = LinkTest::usb(none, Lang::Chinese);
    EXPECT_EQ(missing.result, LinkTestResult::NoDevice);
    EXPECT_EQ(missing.prompts, std::vector<std::string>{"不能发现USB接口设备"});
    EXPECT_FALSE(missing.saveSettings);
    EXPECT_EQ(missing.deviceInfo, "正在查找USB设备......\r\n不能发现USB接口设备\r\n");
}
