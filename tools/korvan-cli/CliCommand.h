#pragma once
// One korvan-cli command: it adds itself to the parser (its name, its help and its options) and
// runs, as the subcommands of git or systemctl do.
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include "CliOptions.h"
#include "common/DataDir.h"
#include "common/Language.h"
#include "link/JobKind.h"
#include "link/LinkSettings.h"

namespace korvan::cli {

// What a command ends with.
struct CliOutcome {
    CliOutcome(int status, std::string line, std::string note = {}, std::string report = {})
        : status(status), line(std::move(line)), note(std::move(note)), report(std::move(report)) {}

    int status = 0;
    std::string line;   // the outcome for stdout; for a usage error, what is wrong (stderr)
    std::string note;   // more about a failure, for stderr; may be empty
    std::string report; // lines for stdout before the outcome line
};

// What a command runs with.
struct CliContext {
    const CliOptions& options; // the options every command takes
    const DataDir& dir;
    Lang lang;
    std::ostream& err; // progress and notes while the command runs
    bool errIsTerminal;
    std::string helpPrefix; // the words to type before --help, e.g. "korvan-cli send label"
};

class CliCommand {
public:
    // `group`: the command this one is typed after ("send"), or empty.
    CliCommand(std::string group, std::string name, std::string help);
    virtual ~CliCommand() = default;
    CliCommand(const CliCommand&) = delete;
    CliCommand& operator=(const CliCommand&) = delete;

    const std::string& group() const { return group_; }
    // Adds the command under `parent` with its help, `footer` and its options.
    CLI::App* attach(CLI::App& parent, const std::string& footer);
    // What is wrong with a command line that parsed; "" when nothing is.
    virtual std::string usageProblem() const { return {}; }
    virtual CliOutcome run(const CliContext& context) = 0;

protected:
    virtual void addOptions(CLI::App& command);

private:
    std::string group_;
    std::string name_;
    std::string help_;
};

// Every command, in the order the help lists them.
std::vector<std::unique_ptr<CliCommand>> allCommands();

// The link a command goes over: record/tx.rec's, with the command line's choices, and the job's
// own link when it has one; or the usage error saying why there is none.
std::variant<LinkSettings, CliOutcome> chooseLink(const CliContext& context,
                                                  std::optional<JobKind> job = std::nullopt);

} // namespace korvan::cli
