#include "link/ScaleList.h"
#include "link/ScaleTarget.h"

#include "common/Prompt.h"
#include "common/TextCodec.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvan;
using namespace korvan::test;

namespace {

ScaleEntry scale(std::string name, LinkMode mode, std::string port, std::string ip) {
    ScaleEntry entry{std::move(name), {}};
    entry.link.setMode(mode);
    entry.link.port = std::move(port);
    entry.link.targetIp = std::move(ip);
    return entry;
}

} // namespace

TEST(ScaleList, RulesOfAScaleInTheList) {
    ScaleList list;
    list.scales = {scale("produce", LinkMode::Network, "", "192.168.1.21"),
                   scale("deli", LinkMode::Serial, "COM2", ""),
                   scale("fish", LinkMode::Usb, "/dev/hidraw1", ""),
                   scale("veg", LinkMode::Serial, "COM7", "")};
    list.portDevices = {{"COM7", "/dev/ttyUSB0"}};
    const std::string eightChinese = TextCodec::toGbk("一二三四五六七八").value();
    struct Row {
        ScaleEntry entry;
        const char* problem; // part of the English message; "" when the scale may stand
    } rows[] = {
        {scale(eightChinese, LinkMode::Network, "", "192.168.1.22"), ""},
        {scale("meat", LinkMode::Usb, "/dev/hidraw3", ""), ""},
        {scale("", LinkMode::Network, "", "192.168.1.22"), "needs a name"},
        {scale(eightChinese + "x", LinkMode::Usb, "", ""), "at most 16 bytes"},
        {scale("a\fb", LinkMode::Usb, "", ""), "at most 16 bytes"},
        {scale("deli", LinkMode::Usb, "", ""), "Another scale has this name"},
        {scale("meat", LinkMode::Network, "", "192.168.1.21"), "Another scale has this IP"},
        {scale("meat", LinkMode::Network, "", "192.168.1.300"), "must be an IPv4 address"},
        {scale("meat", LinkMode::Network, "", ""), "must be an IPv4 address"},
        {scale("meat", LinkMode::Network, "", "255.255.255.255"), "broadcast"},
        {scale("meat", LinkMode::Serial, "", ""), "needs its port"},
        {scale("meat", LinkMode::Serial, "com2", ""), "uses this port"},
        // A port is one device however it is named: COM2's default device, COM7's mapped one.
        {scale("meat", LinkMode::Serial, "/dev/ttyS1", ""), "uses this port"},
        {scale("meat", LinkMode::Serial, "/dev/ttyUSB0", ""), "uses this port"},
        {scale("meat", LinkMode::Serial, "/dev/ttyS6", ""), ""},
        {scale("meat", LinkMode::Usb, "/dev/hidraw1", ""), "uses this port"},
        {scale("meat", LinkMode::Usb, "", ""), "each needs its device path"},
        {scale("meat", LinkMode::None, "", ""), "The link must be"},
    };
    for (const Row& row : rows) {
        const std::string problem = list.problem(row.entry, list.scales.size(), Lang::English);
        if (*row.problem == '\0')
            EXPECT_EQ(problem, "") << row.entry.name;
        else
            EXPECT_NE(problem.find(row.problem), std::string::npos)
                << row.entry.name << ": " << problem;
        // Every refusal is told in Chinese too.
        EXPECT_EQ(list.problem(row.entry, list.scales.size(), Lang::Chinese).empty(),
                  problem.empty());
    }
    // A scale edited in place is not its own duplicate.
    EXPECT_EQ(list.problem(list.scales[0], 0, Lang::English), "");
}

TEST(ScaleList, LoadAndSaveKeepEveryFieldAndRefuseAListWithAProblem) {
    TempDir dir;
    const auto file = dir / "record" / "scales.rec";
    const std::string chineseNetwork = TextCodec::toGbk("网口通讯").value();
    const std::string bytes = TextCodec::toGbk("蔬菜").value() + "\f" + chineseNetwork +
                              "\fCOM1\f192.168.1.21\r\n"
                              "usb\fUSB\f/dev/hidraw2\f\r\n"
                              "odd\fcarrier pigeon\fCOM3\f\r\n";
    writeBytes(file, bytes);
    writeBytes(dir / "record" / "comports.rec", "COM1\f/dev/ttyUSB0\r\n");
    ScaleList list;
    ASSERT_TRUE(list.load(file).ok());
    ASSERT_EQ(list.scales.size(), 3u);
    EXPECT_EQ(list.portDevices.at("COM1"), "/dev/ttyUSB0"); // the port map beside the list
    EXPECT_EQ(list.scales[1].settings().devicePath, "/dev/hidraw2");
    EXPECT_EQ(list.scales[2].link.mode, LinkMode::None);
    // The unknown mode keeps its text; the list as a whole is refused for it.
    EXPECT_EQ(RecordFile::joinLines(list.lines(Lang::Chinese)),
              TextCodec::toGbk("蔬菜").value() + "\f" + chineseNetwork +
                  "\fCOM1\f192.168.1.21\r\n" + TextCodec::toGbk("usb\fUSB通讯").value() +
                  "\f/dev/hidraw2\f\r\nodd\fcarrier pigeon\fCOM3\f\r\n");
    EXPECT_NE(list.problem(Lang::English).find("line 3: "), std::string::npos);
    EXPECT_FALSE(list.save(file, Lang::English).ok());
    EXPECT_EQ(readBytes(file), bytes);

    list.scales.pop_back();
    ASSERT_TRUE(list.save(file, Lang::English).ok());
    ScaleList again;
    ASSERT_TRUE(again.load(file).ok());
    EXPECT_EQ(again.scales, list.scales);
}

TEST(ScaleTarget, AskedOnlyWhenScalesAreListed) {
    TempDir dir;
    const DataDir data(dir.path());
    const auto file = ScaleList::file(data);
    Prompt::Script prompt;
    // No list: the current scale, as always, and nothing asked.
    EXPECT_EQ(chooseScaleTarget(JobKind::CommodityDownload, data, Lang::English),
              ScaleTarget::ThisScale);
    EXPECT_TRUE(prompt.shown().empty());

    writeBytes(file, "produce\fNetwork\f\f10.0.0.2\r\ndeli\fNetwork\f\f10.0.0.3\r\n");
    const ScaleTarget answers[] = {ScaleTarget::ThisScale, ScaleTarget::AllScales,
                                   ScaleTarget::Cancelled};
    for (std::size_t answer = 0; answer < 3; ++answer) {
        prompt.choose(answer);
        EXPECT_EQ(chooseScaleTarget(JobKind::ClearRecords, data, Lang::English), answers[answer]);
    }
    EXPECT_EQ(prompt.last(), "Clear the sales records of this scale or of all 2 listed scales?");

    // A list that cannot be read sends nothing and says why.
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_EQ(chooseScaleTarget(JobKind::ReadRecords, data, Lang::English), ScaleTarget::Cancelled);
    EXPECT_NE(prompt.last().find("scales.rec"), std::string::npos) << prompt.last();
}
