#include "link/LinkSettings.h"

#include "common/TextCodec.h"
#include "link/JobKind.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace korvan;

namespace {
std::string gbk(const char* utf8) {
    return TextCodec::toGbk(utf8).value();
}
} // namespace

TEST(LinkSettings, ModeNamesOfBothLanguages) {
    EXPECT_EQ(LinkSettings::modeFromText("SerialPort"), LinkMode::Serial);
    EXPECT_EQ(LinkSettings::modeFromText(gbk("串口通讯")), LinkMode::Serial);
    EXPECT_EQ(LinkSettings::modeFromText("Network"), LinkMode::Network);
    EXPECT_EQ(LinkSettings::modeFromText(gbk("网口通讯")), LinkMode::Network);
    EXPECT_EQ(LinkSettings::modeFromText("USB"), LinkMode::Usb);
    EXPECT_EQ(LinkSettings::modeFromText(gbk("USB通讯")), LinkMode::Usb);
    // Byte for byte: no case folding, no trimming, and UTF-8 is not the file's encoding.
    for (const char* text : {"network", "Network ", "", "串口通讯"})
        EXPECT_EQ(LinkSettings::modeFromText(text), LinkMode::None) << text;
}

TEST(LinkSettings, LoadReadsThreeLinesAndAShortFileKeepsTheRest) {
    test::TempDir dir;
    test::writeBytes(dir / "tx.rec", gbk("网口通讯") + "\r\nCOM3\r\n192.168.1.20\r\nextra\r\n");
    LinkSettings settings;
    ASSERT_TRUE(settings.load(dir / "tx.rec").ok());
    EXPECT_EQ(settings.mode, LinkMode::Network);
    EXPECT_EQ(settings.port, "COM3");
    EXPECT_EQ(settings.targetIp, "192.168.1.20");

    test::writeBytes(dir / "short.rec", "SerialPort\n");
    ASSERT_TRUE(settings.load(dir / "short.rec").ok());
    EXPECT_EQ(settings.mode, LinkMode::Serial);
    EXPECT_EQ(settings.port, "COM3");
    EXPECT_EQ(settings.targetIp, "192.168.1.20");

    // No file at all keeps everything.
    ASSERT_TRUE(settings.load(dir / "none.rec").ok());
    EXPECT_EQ(settings.mode, LinkMode::Serial);

    // An unknown mode names no link but keeps its text.
    test::writeBytes(dir / "odd.rec", "Carrier pigeon\r\n");
    ASSERT_TRUE(settings.load(dir / "odd.rec").ok());
    EXPECT_EQ(settings.mode, LinkMode::None);
    EXPECT_EQ(settings.modeText, "Carrier pigeon");
}

TEST(LinkSettings, SaveWritesTheModeInTheLanguageAndRoundTrips) {
    test::TempDir dir;
    LinkSettings settings;
    settings.setMode(LinkMode::Usb);
    settings.port = "COM15";
    settings.targetIp = "10.0.0.9";
    ASSERT_TRUE(settings.save(dir / "record" / "tx.rec", Lang::Chinese).ok());
    EXPECT_EQ(test::readBytes(dir / "record" / "tx.rec"),
              gbk("USB通讯") + "\r\nCOM15\r\n10.0.0.9\r\n");

    ASSERT_TRUE(settings.save(dir / "tx.rec", Lang::Unknown).ok());
    EXPECT_EQ(test::readBytes(dir / "tx.rec"), "USB\r\nCOM15\r\n10.0.0.9\r\n");
    LinkSettings back;
    ASSERT_TRUE(back.load(dir / "tx.rec").ok());
    EXPECT_EQ(back.mode, LinkMode::Usb);
    EXPECT_EQ(back.port, "COM15");
    EXPECT_EQ(back.targetIp, "10.0.0.9");
}

TEST(JobKinds, CommandBytesStepTotalsTitlesAndLinks) {
    EXPECT_EQ(JobKinds::commandByte(JobKind::CommodityDownload, ModelFamily::OrinKesa), 0x03);
    EXPECT_EQ(JobKinds::commandByte(JobKind::CommodityDownload, ModelFamily::Vamo), 0x13);
    const std::uint8_t expected[] = {0x13, 0x06, 0x15, 0x02, 0x04, 0x05, 0x01, 0x08, 0x18, 0x28};
    for (std::size_t i = 0; i < JobKinds::kTable.size(); ++i)
        EXPECT_EQ(JobKinds::commandByte(JobKinds::kTable[i].kind), expected[i]) << i;

    EXPECT_EQ(JobKinds::stepTotal(JobKind::LabelDownload, 12), 13);
    EXPECT_EQ(JobKinds::stepTotal(JobKind::CommodityDownload, 0), 0);
    EXPECT_EQ(JobKinds::stepTotal(JobKind::DateTimeDownload, 50), 1);
    EXPECT_EQ(JobKinds::stepTotal(JobKind::ReadRecords, 3), 2000);
    EXPECT_EQ(JobKinds::stepTotal(JobKind::ClearRecords, 3), 10);
    EXPECT_EQ(JobKinds::stepTotal(JobKind::ProgramUpdate, 128), 2);
    EXPECT_EQ(JobKinds::stepTotal(JobKind::ProgramUpdate, 129), 3);
    EXPECT_EQ(JobKinds::stepTotal(JobKind::ProgramUpdate, 0), 0);

    EXPECT_STREQ(JobKinds::title(JobKind::ProgramUpdate, LinkMode::Network).en, "Program updates");
    EXPECT_STREQ(JobKinds::title(JobKind::ReadRecords, LinkMode::Network).zh, "网口数据传送进度..");
    EXPECT_STREQ(JobKinds::title(JobKind::ReadRecords, LinkMode::None).en, "Download progress");

    // A program goes over USB whatever link is chosen; every other job takes the chosen one.
    EXPECT_EQ(JobKinds::link(JobKind::ProgramUpdate, LinkMode::Serial), LinkMode::Usb);
    EXPECT_EQ(JobKinds::link(JobKind::ReadRecords, LinkMode::Serial), LinkMode::Serial);
}

TEST(LinkSettings, TheTargetIpIsADottedIpv4Address) {
    LinkSettings settings;
    settings.setMode(LinkMode::Network);
    for (const char* ip : {"192.168.1.20", "abc.1", "256.1.1.1", "1.2.3", "01.2.3.4", ""}) {
        settings.targetIp = ip;
        EXPECT_EQ(settings.targetIpProblem(Lang::English).empty(),
                  ip == std::string("192.168.1.20"));
    }
    settings.setMode(LinkMode::Serial); // an empty one is fine without the network link
    EXPECT_TRUE(settings.targetIpProblem(Lang::English).empty());
}
