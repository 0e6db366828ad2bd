#include "CliMain.h"

#include "CliCommand.h"
#include "CliOptions.h"

#include "common/DataDir.h"
#include "common/DataLock.h"
#include "common/Language.h"

namespace korvan::cli {
namespace {

int fail(std::ostream& err, int status, const std::string& message) {
    err << "korvan-cli: " << message << '\n';
    err.flush();
    return status;
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

// Prints what a command ended with: the lines before the outcome, a note on stderr, the outcome
// line on stdout (a usage error on stderr alone).
int deliver(std::ostream& out, std::ostream& err, const CliOutcome& outcome) {
    out << outcome.report;
    if (outcome.status == kExitUsage)
        return fail(err, kExitUsage, outcome.line);
    if (!outcome.note.empty()) {
        err << "korvan-cli: " << outcome.note << '\n';
        err.flush();
    }
    return finish(out, err, outcome.line, outcome.status);
}

} // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal) {
    CliParse parsed = CliParse::parse(args);
    if (parsed.kind == CliParse::Kind::Help)
        return finish(out, err, parsed.text, kExitDone);
    if (parsed.kind == CliParse::Kind::UsageError)
        return fail(err, kExitUsage,
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
        return fail(err, kExitUsage, "cannot create the data directory " + folder.string());
    Language::load(Language::file(dir));
    const CliContext context{options, dir,           Language::current(),
                             err,     errIsTerminal, parsed.helpPrefix};
    return deliver(out, err, parsed.command->run(context));
}

} // namespace korvan::cli
