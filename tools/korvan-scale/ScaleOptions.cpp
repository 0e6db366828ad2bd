#include "ScaleOptions.h"

#include <charconv>
#include <functional>
#include <map>

namespace korvan {
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

} // namespace

std::string ScaleOptions::usage() {
    return "usage: korvan-scale [--store DIR] [--bind ADDR=127.0.0.1] [--port 8000]\n"
           "                    [--reply-port 7000] [--probe-port 1025]\n"
           "                    [--sales FILE | --sales-count N] [--busy]\n"
           "                    [--data-error-at K] [--silent-after K] [--delay-ms MS]\n"
           "                    [--ack-paren] [--split-lines N] [--jobs N] [--serial]\n"
           "                    [--quiet] [--help]\n"
           "A simulated price scale: answers the PC's transfer jobs over UDP (and a serial\n"
           "pseudo-terminal with --serial) and keeps what it receives in the store folder\n"
           "(default ./scale-store). Prints \"listening\" when ready and one line per job.\n"
           "  --store DIR         store folder\n"
           "  --bind ADDR         IPv4 address to listen on\n"
           "  --port N            port for the PC's messages (0 picks one)\n"
           "  --reply-port N      port of the PC that receives the answers\n"
           "  --probe-port N      port answering the link test byte 0xA5 (0 picks one)\n"
           "  --sales FILE        serve the sales records of FILE (sales record file layout)\n"
           "  --sales-count N     serve N generated sales records\n"
           "                      (neither: serve the records kept in the store)\n"
           "  --busy              answer every hello (and probe) with busy 0x0B\n"
           "  --data-error-at K   answer message K of each job with data error 0x0E\n"
           "                      (the hello is message 1)\n"
           "  --silent-after K    answer messages 1 to K of each job, then nothing\n"
           "  --delay-ms MS       wait MS milliseconds before each answer\n"
           "  --ack-paren         acknowledge with \")\" instead of 0x0D\n"
           "  --split-lines N     send each sales record line as N pieces\n"
           "  --jobs N            exit after N finished jobs\n"
           "  --serial            also serve a serial pseudo-terminal (prints its path)\n"
           "  --quiet             no diagnostics on stderr\n";
}

std::optional<ScaleOptions> ScaleOptions::parse(int argc, const char* const* argv,
                                                std::string* error) {
    ScaleOptions options;
    std::string problem;
    auto fail = [&](std::string why) {
        if (error)
            *error = std::move(why);
        return std::nullopt;
    };
    auto setNumber = [&](const std::string& name, const std::string& value, long long low,
                         long long high, const std::function<void(long long)>& set) {
        auto parsed = number(value, low, high);
        if (!parsed) {
            problem = name + " needs a whole number from " + std::to_string(low) + " to " +
                      std::to_string(high) + ", got \"" + value + "\"";
            return;
        }
        set(*parsed);
    };

    const std::map<std::string, std::function<void()>> flags = {
        {"--busy", [&] { options.session.busy = true; }},
        {"--ack-paren", [&] { options.session.ackParen = true; }},
        {"--serial", [&] { options.serial = true; }},
        {"--quiet", [&] { options.quiet = true; }},
        {"--help", [&] { options.help = true; }},
        {"-h", [&] { options.help = true; }},
    };
    using Setter = std::function<void(const std::string& name, const std::string& value)>;
    const std::map<std::string, Setter> valued = {
        {"--store", [&](auto&, auto& v) { options.store = v; }},
        {"--bind", [&](auto&, auto& v) { options.udp.bindAddress = v; }},
        {"--port",
         [&](auto& n, auto& v) {
             setNumber(n, v, 0, 65535, [&](long long x) { options.udp.port = std::uint16_t(x); });
         }},
        {"--reply-port",
         [&](auto& n, auto& v) {
             setNumber(n, v, 1, 65535,
                       [&](long long x) { options.udp.replyPort = std::uint16_t(x); });
         }},
        {"--probe-port",
         [&](auto& n, auto& v) {
             setNumber(n, v, 0, 65535,
                       [&](long long x) { options.udp.probePort = std::uint16_t(x); });
         }},
        {"--sales", [&](auto&, auto& v) { options.salesFile = v; }},
        {"--sales-count",
         [&](auto& n, auto& v) {
             setNumber(n, v, 0, 10'000'000,
                       [&](long long x) { options.salesCount = std::size_t(x); });
         }},
        {"--data-error-at",
         [&](auto& n, auto& v) {
             setNumber(n, v, 1, 1'000'000'000,
                       [&](long long x) { options.session.dataErrorAt = int(x); });
         }},
        {"--silent-after",
         [&](auto& n, auto& v) {
             setNumber(n, v, 0, 1'000'000'000,
                       [&](long long x) { options.session.silentAfter = int(x); });
         }},
        {"--delay-ms",
         [&](auto& n, auto& v) {
             setNumber(n, v, 0, 600'000,
                       [&](long long x) { options.session.delay = std::chrono::milliseconds(x); });
         }},
        {"--split-lines",
         [&](auto& n, auto& v) {
             setNumber(n, v, 1, 1000, [&](long long x) { options.session.splitLines = int(x); });
         }},
        {"--jobs",
         [&](auto& n, auto& v) {
             setNumber(n, v, 1, 1'000'000'000, [&](long long x) { options.jobs = int(x); });
         }},
    };

    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        if (auto flag = flags.find(arg); flag != flags.end()) {
            if (inlineValue)
                return fail(arg + " takes no value");
            flag->second();
            continue;
        }
        auto setter = valued.find(arg);
        if (setter == valued.end())
            return fail("unknown option \"" + arg + "\"");
        std::string value;
        if (inlineValue) {
            value = *inlineValue;
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return fail(arg + " needs a value");
        }
        setter->second(arg, value);
        if (!problem.empty())
            return fail(problem);
    }
    if (options.salesFile && options.salesCount)
        return fail("--sales and --sales-count exclude each other");
    if (options.store.empty())
        return fail("--store needs a folder");
    return options;
}

} // namespace korvan
