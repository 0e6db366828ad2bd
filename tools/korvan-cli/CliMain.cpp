#include "CliMain.h"

#include "CliCommodities.h"
#include "CliExport.h"
#include "CliJob.h"
#include "CliOptions.h"
#include "CliProgress.h"
#include "records/SalesRecordFile.h"

#include "common/DataDir.h"
#include "common/DataLock.h"
#include "common/Language.h"
#include "link/ChannelFactory.h"
#include "link/ComPorts.h"
#include "link/LinkTest.h"
#include "link/LinkSettings.h"
#include "link/TransferRunner.h"

namespace korvan::cli {
namespace {

const char* linkName(LinkMode mode) {
    switch (mode) {
    case LinkMode::Serial:
        return "serial";
    case LinkMode::Usb:
        return "USB";
    case LinkMode::Network:
        return "network";
    case LinkMode::None:
        break;
    }
    return "no";
}

// Writes the outcome (or help) and makes sure it got out: a full disk or a closed pipe on stdout
// must not pass for success.
int finish(std::ostream& out, std::ostream& err, const std::string& line, int status) {
    out << line;
    if (!line.empty() && line.back() != '\n')
        out << '\n';
    out.flush();
    if (out)
        return status;
    err << "korvan-cli: cannot write to standard output\n";
    err.flush();
    return status == kExitDone ? kExitFailed : status;
}

// The settings screen's test of the link: the prompts in order on stdout (the last is the
// outcome), the settings stored as the screen stores them.
int testLink(const CliOptions& options, const DataDir& dir, const LinkSettings& settings, Lang lang,
             std::ostream& out, std::ostream& err) {
    LinkTestTargets targets;
    targets.localPort = options.localPort;
    targets.probePort = options.probePort;
    const std::filesystem::path portMap = dir.record(ComPorts::kFileName);
    auto devices = ComPorts::load(portMap);
    if (settings.mode == LinkMode::Serial) {
        // The map decides which device a COM name is; guessing one would test another port.
        if (!devices) {
            err << "korvan-cli: " << devices.result.message() << '\n';
            err.flush();
            return kExitUsage;
        }
        targets.serialDevice = ComPorts::device(devices.value, settings.port);
    }
    const LinkTestOutcome outcome = LinkTest::run(settings, targets, lang);
    if (!options.quiet) {
        if (!outcome.deviceInfo.empty())
            err << outcome.deviceInfo << (outcome.deviceInfo.ends_with('\n') ? "" : "\n");
        if (!outcome.detail.empty())
            err << "korvan-cli: " << outcome.detail << '\n';
        err.flush();
    }
    std::string lines;
    for (const std::string& prompt : outcome.prompts)
        lines += prompt + '\n';
    if (lines.empty())
        lines = outcome.detail.empty() ? LinkTest::noAnswerText().get(lang) : outcome.detail;
    if (outcome.saveSettings) {
        // tx.rec names the port COM1 to COM15: a device path given with --port is stored by the
        // name record/comports.rec gives it, a new line there when it has none yet.
        LinkSettings stored = settings;
        // Read, mapped and written under the data folder's lock: another program may have
        // mapped a port while the test ran.
        const DataLock lock(portMap);
        if (stored.port.starts_with('/')) {
            devices = ComPorts::load(portMap);
            if (!devices)
                return finish(out, err, lines + devices.result.message(), kExitFailed);
            const std::size_t mapped = devices.value.size();
            const auto name = ComPorts::nameFor(devices.value, stored.port);
            if (!name)
                return finish(out, err,
                              lines +
                                  Tr{"record/comports.rec 中没有空闲的COM名称可用于 ",
                                     "record/comports.rec has no free COM name for "}
                                      .get(lang) +
                                  stored.port,
                              kExitFailed);
            if (devices.value.size() != mapped) {
                if (const IoResult saved = ComPorts::save(portMap, devices.value); !saved)
                    return finish(out, err, lines + saved.message(), kExitFailed);
                if (!options.quiet)
                    err << "korvan-cli: " << *name << " now stands for " << settings.port
                        << " (record/comports.rec)\n";
            }
            stored.port = *name;
        }
        if (const IoResult saved = stored.save(dir.record("tx.rec"), lang); !saved)
            return finish(out, err, lines + saved.message(), kExitFailed);
    }
    return finish(out, err, lines, outcome.passed() ? kExitDone : kExitFailed);
}

// While a command runs, a wait for the data folder's lock is told on a terminal.
class LockWaitNotice {
public:
    LockWaitNotice(std::ostream& err, bool show) {
        if (show)
            DataLock::setWaitNotice([&err](const std::filesystem::path& folder) {
                err << "korvan-cli: waiting for another program to finish writing to "
                    << folder.string() << '\n';
                err.flush();
            });
    }
    ~LockWaitNotice() { DataLock::setWaitNotice({}); }
    LockWaitNotice(const LockWaitNotice&) = delete;
    LockWaitNotice& operator=(const LockWaitNotice&) = delete;
};

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal) {
    auto fail = [&err](int status, const std::string& message) {
        err << "korvan-cli: " << message << '\n';
        err.flush();
        return status;
    };

    CliParse parsed = CliParse::parse(args);
    if (parsed.kind == CliParse::Kind::Help)
        return finish(out, err, parsed.text, kExitDone);
    if (parsed.kind == CliParse::Kind::UsageError)
        return fail(kExitUsage,
                    parsed.text + "\nTry '" + parsed.helpPrefix + " --help' for more information.");
    const CliOptions& options = parsed.options;

    const std::filesystem::path folder = DataDir::locate(options.dataDir);
    if (parsed.kind == CliParse::Kind::PrintDataDir)
        return finish(out, err, folder.string(), kExitDone);
    const DataDir dir(folder);
    const LockWaitNotice lockWaitNotice(err, errIsTerminal && !options.quiet);
    // The user's own data folder is made, with the shipped defaults, the first time it is used;
    // a folder named on the command line or the working directory is taken as it is.
    if (options.dataDir.empty() && folder != std::filesystem::current_path() && !dir.prepare())
        return fail(kExitUsage, "cannot create the data directory " + folder.string());
    Language::load(dir.record("language.rec"));
    const Lang lang = Language::current();

    if (options.command == Command::ExportRecords || options.command == Command::PrintRecords) {
        const CliExport::Outcome outcome = CliExport::run(options, dir, lang);
        if (outcome.status == kExitUsage)
            return fail(kExitUsage, outcome.line);
        if (!outcome.note.empty())
            err << "korvan-cli: " << outcome.note << '\n';
        return finish(out, err, outcome.line, outcome.status);
    }

    if (options.command == Command::ExportCommodities ||
        options.command == Command::ImportCommodities) {
        std::string report;
        const CliCommodities::Outcome outcome = CliCommodities::run(options, dir, lang, report);
        out << report;
        if (outcome.status == kExitUsage)
            return fail(kExitUsage, outcome.line);
        if (!outcome.note.empty())
            err << "korvan-cli: " << outcome.note << '\n';
        return finish(out, err, outcome.line, outcome.status);
    }

    LinkSettings settings;
    if (const IoResult read = settings.load(dir.record("tx.rec")); !read)
        return fail(kExitUsage, read.message());
    if (options.link)
        settings.setMode(*options.link);
    // The scale takes a new program over USB only, whatever the saved link.
    if (options.command == Command::Update)
        settings.setMode(LinkMode::Usb);
    if (options.ip)
        settings.targetIp = *options.ip;
    if (options.port)
        settings.port = *options.port;
    if (settings.mode == LinkMode::None)
        return fail(kExitUsage, "record/tx.rec names no link; choose one with --link\nTry '" +
                                    parsed.helpPrefix + " --help' for more information.");
    if (!ChannelFactory::isAvailable(settings.mode))
        return fail(kExitFailed, std::string("the ") + linkName(settings.mode) +
                                     " link is not available yet; use --link network");

    if (options.command == Command::TestLink)
        return testLink(options, dir, settings, lang, out, err);

    std::vector<SalesRecord> records;
    std::string error;
    std::optional<JobRequest> request = CliJob::load(options, dir, records, error);
    if (!request)
        return fail(kExitUsage, error);

    const std::string title = JobKinds::title(request->kind, settings.mode).get(lang);
    const CliProgress::Display display = options.quiet   ? CliProgress::Display::None
                                         : errIsTerminal ? CliProgress::Display::Bar
                                                         : CliProgress::Display::Lines;
    CliProgress progress(err, display, title);
    TransferRunner runner(std::move(*request), settings,
                          ChannelFactory::standard({options.localPort, options.scalePort}, dir),
                          progress, lang);
    runner.start();
    const TransferReport report = runner.waitAndProcess();

    // Records read before a failure are kept too. When they cannot be saved, that is the outcome:
    // the operator must not read "completed" over records that are only in memory.
    if (request->kind != JobKind::ReadRecords)
        return finish(out, err, report.message, report.completed ? kExitDone : kExitFailed);
    const SalesRecordFile::Appended appended =
        SalesRecordFile::append(dir.record("dzcjl.rec"), records);
    if (!appended.result) {
        if (!options.quiet && !report.message.empty()) {
            err << "korvan-cli: " << report.message << '\n';
            err.flush();
        }
        return finish(out, err, appended.result.message(), kExitFailed);
    }
    std::string outcome = report.message + '\n' + SalesRecordFile::appendedText(appended, lang);
    if (!report.completed)
        return finish(out, err, outcome, kExitFailed);
    // A read that stopped at its limit may have left sales in the scale: a script must not
    // clear them now.
    if (SalesRecordFile::mayHoldMore(records.size()))
        return finish(out, err,
                      outcome + '\n' + SalesRecordFile::mayHoldMoreText(records.size(), lang),
                      kExitMayHoldMore);
    return finish(out, err, outcome, kExitDone);
}

} // namespace korvan::cli
