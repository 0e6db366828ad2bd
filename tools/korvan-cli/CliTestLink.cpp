#include "CliTestLink.h"

#include "CliMain.h"
#include "common/DataLock.h"
#include "link/ComPorts.h"
#include "link/LinkTest.h"

namespace korvan::cli {
namespace {

// Stores the tested link in record/tx.rec. tx.rec names the port COM1 to COM15: a device path
// given with --port is stored by the name record/comports.rec gives it, a new line there when it
// has none yet. Returns the failure text, "" when stored.
std::string store(const CliContext& context, LinkSettings stored) {
    const std::filesystem::path portMap = ComPorts::file(context.dir);
    // Read, mapped and written under the data folder's lock: another program may have mapped a
    // port while the test ran.
    const DataLock lock(portMap);
    if (stored.port.starts_with('/')) {
        auto devices = ComPorts::load(portMap);
        if (!devices)
            return devices.result.message();
        const std::size_t mapped = devices.value.size();
        const auto name = ComPorts::nameFor(devices.value, stored.port);
        if (!name)
            return Tr{"record/comports.rec 中没有空闲的COM名称可用于 ",
                      "record/comports.rec has no free COM name for "}
                       .get(context.lang) +
                   stored.port;
        if (devices.value.size() != mapped) {
            if (const IoResult saved = ComPorts::save(portMap, devices.value); !saved)
                return saved.message();
            if (!context.options.quiet)
                context.err << "korvan-cli: " << *name << " now stands for " << stored.port
                            << " (record/comports.rec)\n";
        }
        stored.port = *name;
    }
    const IoResult saved = stored.save(LinkSettings::file(context.dir), context.lang);
    return saved ? std::string() : saved.message();
}

} // namespace

TestLink::TestLink()
    : CliCommand({}, "test-link",
                 "tests the link: the scale must answer the probe byte; a passed test stores the "
                 "link in record/tx.rec (the USB test stores it whatever the answer)") {}

CliOutcome TestLink::run(const CliContext& context) {
    auto link = chooseLink(context);
    if (auto* refused = std::get_if<CliOutcome>(&link))
        return std::move(*refused);
    const LinkSettings& settings = std::get<LinkSettings>(link);
    LinkTestTargets targets;
    targets.localPort = context.options.localPort;
    targets.probePort = context.options.probePort;
    if (settings.mode == LinkMode::Serial) {
        // The map decides which device a COM name is; guessing one would test another port.
        const auto devices = ComPorts::load(ComPorts::file(context.dir));
        if (!devices)
            return {kExitUsage, devices.result.message()};
        targets.serialDevice = ComPorts::device(devices.value, settings.port);
    }
    const LinkTestOutcome outcome = LinkTest::run(settings, targets, context.lang);
    if (!context.options.quiet) {
        if (!outcome.deviceInfo.empty())
            context.err << outcome.deviceInfo << (outcome.deviceInfo.ends_with('\n') ? "" : "\n");
        if (!outcome.detail.empty())
            context.err << "korvan-cli: " << outcome.detail << '\n';
        context.err.flush();
    }
    std::string lines;
    for (const std::string& prompt : outcome.prompts)
        lines += prompt + '\n';
    if (lines.empty())
        lines =
            outcome.detail.empty() ? LinkTest::noAnswerText().get(context.lang) : outcome.detail;
    if (outcome.saveSettings)
        if (std::string failure = store(context, settings); !failure.empty())
            return {kExitFailed, lines + failure};
    return {outcome.passed() ? kExitDone : kExitFailed, lines};
}

} // namespace korvan::cli
