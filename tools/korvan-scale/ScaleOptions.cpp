#include "ScaleOptions.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cstdio>
#include <tuple>
#include <functional>

namespace korvan::sim {
namespace {

// A whole decimal number within [low, high]; nothing else is accepted.
std::optional<long long> number(const std::string& text, long long low, long long high) {
    long long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high)
        return std::nullopt;
    return value;
}

// The command line as CLI11 sees it, every option bound to `options`.
class Line {
public:
    explicit Line(ScaleOptions& options) : app_(kAbout, "korvan-scale") {
        ScaleOptions& o = options;
        app_.set_help_flag(); // --help is an option of its own: it still reads the whole line
        // An option given twice takes its last value, so a script can override an earlier one.
        app_.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        app_.add_flag("-h,--help", o.help, "this text");
        app_.add_option("--store", o.store, "store folder")
            ->type_name("DIR")
            ->default_str(o.store.string());
        app_.add_option("--bind", o.udp.bindAddress, "IPv4 address to listen on")
            ->type_name("ADDR")
            ->capture_default_str();
        numbered(
            "--port", "port for the PC's messages (0 picks one)", 0, 65535,
            [&o](long long x) { o.udp.port = std::uint16_t(x); }, o.udp.port);
        numbered(
            "--reply-port", "port of the PC that receives the answers", 1, 65535,
            [&o](long long x) { o.udp.replyPort = std::uint16_t(x); }, o.udp.replyPort);
        numbered(
            "--probe-port", "port answering the link test byte 0xA5 (0 picks one)", 0, 65535,
            [&o](long long x) { o.udp.probePort = std::uint16_t(x); }, o.udp.probePort);
        app_.add_option("--sales", salesFile_,
                        "serve the sales records of FILE (sales record file layout)")
            ->type_name("FILE");
        numbered("--sales-count",
                 "serve N generated sales records\n(neither: serve the records kept in the store)",
                 0, 10'000'000, [&o](long long x) { o.salesCount = std::size_t(x); });
        app_.add_flag("--busy", o.session.busy, "answer every hello (and probe) with busy 0x0B");
        numbered(
            "--data-error-at",
            "answer message K of each job with data error 0x0E\n(the hello is message 1)", 1,
            1'000'000'000, [&o](long long x) { o.session.dataErrorAt = int(x); }, {}, "K");
        numbered(
            "--end-at", "answer message K of each job with the end byte 0x0F, ending the job", 1,
            1'000'000'000, [&o](long long x) { o.session.endAt = int(x); }, {}, "K");
        numbered(
            "--silent-after", "answer messages 1 to K of each job, then nothing", 0, 1'000'000'000,
            [&o](long long x) { o.session.silentAfter = int(x); }, {}, "K");
        numbered(
            "--delay-ms", "wait MS milliseconds before each answer", 0, 600'000,
            [&o](long long x) { o.session.delay = std::chrono::milliseconds(x); }, {}, "MS");
        app_.add_flag("--ack-paren", o.session.ackParen, "acknowledge with \")\" instead of 0x0D");
        numbered("--split-lines", "send each sales record line as N pieces", 1, 1000,
                 [&o](long long x) { o.session.splitLines = int(x); });
        numbered("--jobs", "exit after N finished jobs", 1, 1'000'000'000,
                 [&o](long long x) { o.jobs = int(x); });
        app_.add_flag("--serial", o.serial,
                      "also serve a serial pseudo-terminal (prints its path)");
        app_.add_flag("--usb", o.usb,
                      "also serve a virtual USB device on a Unix socket (prints its path;\n"
                      "announce it to the PC in KORVAN_VIRTUAL_HID)");
        app_.add_option("--usb-socket", o.hid.socketPath,
                        "socket of the USB device (default: usb.sock in the store folder)")
            ->type_name("PATH");
        app_.add_option("--usb-id", usbId_,
                        "vendor and product ID the USB device shows, in hex (default 0483:5750)")
            ->type_name("VVVV:PPPP")
            ->check(CLI::Validator(
                [](std::string& text) -> std::string {
                    return parseId(text) ? "" : "takes VVVV:PPPP in hex, not \"" + text + "\"";
                },
                ""));
        app_.add_option("--usb-product", o.hid.product, "product string of the USB device")
            ->type_name("TEXT")
            ->capture_default_str();
        numbered(
            "--usb-restart-ms", "how long the USB device is gone when it restarts for an update", 0,
            600'000, [&o](long long x) { o.hid.restartTime = std::chrono::milliseconds(x); },
            o.hid.restartTime.count(), "MS");
        app_.add_flag("--quiet", o.quiet, "no diagnostics on stderr");
    }

    CLI::App& app() { return app_; }
    const std::string& salesFile() const { return salesFile_; }
    const std::string& usbId() const { return usbId_; }

    static std::optional<std::pair<std::uint16_t, std::uint16_t>> parseId(const std::string& text) {
        unsigned vendor = 0, product = 0;
        int used = 0;
        if (text.size() != 9 ||
            std::sscanf(text.c_str(), "%4x:%4x%n", &vendor, &product, &used) != 2 || used != 9)
            return std::nullopt;
        return std::pair{static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product)};
    }

private:
    static constexpr const char* kAbout =
        "A simulated price scale: answers the PC's transfer jobs over UDP (and a serial\n"
        "pseudo-terminal with --serial) and keeps what it receives in the store folder.\n"
        "Prints \"listening\" when ready and one line per job.";

    void numbered(const char* name, const char* help, long long low, long long high,
                  std::function<void(long long)> set, std::optional<long long> shown = {},
                  const char* type = "N") {
        CLI::Option* option = app_.add_option_function<std::string>(
            name, [set, low, high](const std::string& text) { set(*number(text, low, high)); },
            help);
        option->type_name(type)->check(CLI::Validator(
            [low, high](std::string& text) -> std::string {
                if (number(text, low, high))
                    return {};
                return "needs a whole number from " + std::to_string(low) + " to " +
                       std::to_string(high) + ", got \"" + text + "\"";
            },
            ""));
        if (shown)
            option->default_str(std::to_string(*shown));
    }

    CLI::App app_;
    std::string salesFile_;
    std::string usbId_;
};

} // namespace

std::string ScaleOptions::usage() {
    ScaleOptions options;
    return Line(options).app().help();
}

Loaded<ScaleOptions> ScaleOptions::parse(int argc, const char* const* argv) {
    ScaleOptions options;
    Line line(options);
    auto fail = [](std::string why) {
        return Loaded<ScaleOptions>{{}, IoResult::failed(std::move(why))};
    };
    // CLI11 takes the arguments last first.
    std::vector<std::string> args;
    for (int i = argc - 1; i >= 0; --i)
        args.emplace_back(argv[i]);
    try {
        line.app().parse(args);
    } catch (const CLI::ParseError& e) {
        const std::string what = e.what();
        if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) &&
            what.find("missing") != std::string::npos)
            return fail(what.substr(0, what.find(':')) + " needs a value");
        return fail(what);
    }
    if (!line.salesFile().empty())
        options.salesFile = line.salesFile();
    if (options.salesFile && options.salesCount)
        return fail("--sales and --sales-count exclude each other");
    if (options.store.empty())
        return fail("--store needs a folder");
    if (const auto id = Line::parseId(line.usbId()))
        std::tie(options.hid.vendorId, options.hid.productId) = *id;
    if (options.usb && options.hid.socketPath.empty())
        options.hid.socketPath = std::filesystem::absolute(options.store / "usb.sock").string();
    return {std::move(options), {}};
}

} // namespace korvan::sim
