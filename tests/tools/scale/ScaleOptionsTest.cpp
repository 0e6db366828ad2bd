#include <gtest/gtest.h>

#include <vector>

#include "korvan-scale/ScaleOptions.h"

using namespace korvan;
using namespace korvan::sim;

namespace {

std::optional<ScaleOptions> parse(std::vector<const char*> args, std::string* error = nullptr) {
    auto parsed = ScaleOptions::parse(static_cast<int>(args.size()), args.data());
    if (error)
        *error = parsed.result.detail;
    return parsed ? std::optional(std::move(parsed.value)) : std::nullopt;
}

} // namespace

TEST(ScaleOptions, DefaultsAreTheProductPorts) {
    auto o = parse({});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->udp.port, 8000);
    EXPECT_EQ(o->udp.replyPort, 7000);
    EXPECT_EQ(o->udp.probePort, 1025);
    EXPECT_EQ(o->session.splitLines, 1);
}

TEST(ScaleOptions, EveryOptionInBothSpellings) {
    auto o = parse({"--store",
                    "/tmp/s",
                    "--bind=0.0.0.0",
                    "--port",
                    "9000",
                    "--reply-port=9001",
                    "--probe-port",
                    "0",
                    "--sales-count",
                    "12",
                    "--busy",
                    "--data-error-at",
                    "3",
                    "--silent-after=0",
                    "--delay-ms",
                    "40",
                    "--ack-paren",
                    "--split-lines",
                    "4",
                    "--jobs",
                    "2",
                    "--quiet",
                    "--serial"});
    ASSERT_TRUE(o);
    EXPECT_EQ(o->store, "/tmp/s");
    EXPECT_EQ(o->udp.bindAddress, "0.0.0.0");
    EXPECT_EQ(o->udp.port, 9000);
    EXPECT_EQ(o->udp.replyPort, 9001);
    EXPECT_EQ(o->udp.probePort, 0);
    EXPECT_EQ(o->salesCount, 12u);
    EXPECT_TRUE(o->session.busy);
    EXPECT_EQ(o->session.dataErrorAt, 3);
    EXPECT_EQ(o->session.silentAfter, 0);
    EXPECT_EQ(o->session.delay.count(), 40);
    EXPECT_TRUE(o->session.ackParen);
    EXPECT_EQ(o->session.splitLines, 4);
    EXPECT_EQ(o->jobs, 2);
    EXPECT_TRUE(o->quiet);
    EXPECT_TRUE(o->serial);
    auto sales = parse({"--sales", "dzcjl.rec", "--help"});
    ASSERT_TRUE(sales);
    EXPECT_EQ(sales->salesFile, std::filesystem::path("dzcjl.rec"));
    EXPECT_TRUE(sales->help);
}

TEST(ScaleOptions, UsbDeviceSocketAndIdentity) {
    auto plain = parse({"--store", "/tmp/s", "--usb"});
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->usb);
    EXPECT_EQ(plain->hid.socketPath, "/tmp/s/usb.sock");
    EXPECT_EQ(plain->hid.vendorId, 0x0483);
    EXPECT_EQ(plain->hid.productId, 0x5750);
    auto other = parse({"--usb", "--usb-socket", "/run/x.sock", "--usb-id", "046d:C077",
                        "--usb-product", "Mouse", "--usb-restart-ms", "0"});
    ASSERT_TRUE(other);
    EXPECT_EQ(other->hid.socketPath, "/run/x.sock");
    EXPECT_EQ(other->hid.vendorId, 0x046D);
    EXPECT_EQ(other->hid.productId, 0xC077);
    EXPECT_EQ(other->hid.product, "Mouse");
    EXPECT_EQ(other->hid.restartTime.count(), 0);
    for (const char* bad : {"0483-5750", "483:5750", "0483:57501", "zz83:5750"})
        EXPECT_FALSE(parse({"--usb-id", bad})) << bad;
}

TEST(ScaleOptions, RefusesBadLines) {
    std::string error;
    EXPECT_FALSE(parse({"--port", "65536"}, &error));
    EXPECT_NE(error.find("--port"), std::string::npos) << error;
    EXPECT_FALSE(parse({"--port", "80x"}));
    EXPECT_FALSE(parse({"--port", "-1"}));
    EXPECT_FALSE(parse({"--reply-port", "0"}));
    EXPECT_FALSE(parse({"--data-error-at", "0"}));
    EXPECT_FALSE(parse({"--split-lines", "0"}));
    EXPECT_FALSE(parse({"--jobs", ""}));
    EXPECT_FALSE(parse({"--delay-ms"}, &error));
    EXPECT_NE(error.find("needs a value"), std::string::npos) << error;
    EXPECT_FALSE(parse({"--frobnicate"}, &error));
    EXPECT_NE(error.find("--frobnicate"), std::string::npos) << error;
    EXPECT_FALSE(parse({"--busy=maybe"}));
    EXPECT_FALSE(parse({"--sales", "a", "--sales-count", "3"}, &error));
    EXPECT_NE(error.find("exclude"), std::string::npos) << error;
}

TEST(ScaleOptions, HelpListsEveryOptionWithTheProductPorts) {
    const std::string help = ScaleOptions::usage();
    for (const char* shown : {"Usage: korvan-scale [OPTIONS]",
                              "--store DIR=scale-store",
                              "--port N=8000",
                              "--reply-port N=7000",
                              "--probe-port N=1025",
                              "--sales FILE",
                              "--sales-count N",
                              "--busy",
                              "--data-error-at K",
                              "--silent-after K",
                              "--delay-ms MS",
                              "--ack-paren",
                              "--split-lines N",
                              "--jobs N",
                              "--serial",
                              "--usb",
                              "--usb-id VVVV:PPPP",
                              "--usb-restart-ms MS=1500",
                              "--quiet",
                              "--help"})
        EXPECT_NE(help.find(shown), std::string::npos) << shown << "\n" << help;
    // --help still reads the rest of the line, and a bad value after it is still refused.
    EXPECT_TRUE(parse({"--help", "--port=9000"})->help);
    EXPECT_FALSE(parse({"--help", "--port=x"}));
    EXPECT_EQ(parse({"--port", "9000", "--port=9001"})->udp.port, 9001);
}
