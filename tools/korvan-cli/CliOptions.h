#pragma once
// The command line of korvan-cli, parsed and checked: the options every command takes, and the
// command chosen, which holds its own options.
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/LinkMode.h"
#include "link/Protocol.h"

namespace CLI {
class App;
class Validator;
} // namespace CLI

namespace korvan::cli {

class CliCommand;

struct CliOptions {
    std::string dataDir; // empty: the working directory or the user's data folder
    std::optional<LinkMode> link;
    std::optional<std::string> ip;
    std::optional<std::string> port;
    std::uint16_t localPort = protocol::kPcPort;
    std::uint16_t scalePort = protocol::kScalePort;
    std::uint16_t probePort = protocol::kProbePort; // test-link over the network
    // Scales of record/scales.rec to run the job on ("all": every one); empty: the scale of
    // record/tx.rec.
    std::vector<std::string> scales;
    bool quiet = false; // the outcome line only: no progress, no notes

    // "YYYY-MM-DD HH:MM:SS" as a calendar time with its day of the week; nullopt when it is
    // no real date and time.
    static std::optional<std::tm> parseDateTime(const std::string& text);
};

// Checks of option values, each naming what it takes when it refuses a value.
namespace check {
CLI::Validator dateTime();
// One of a few words.
CLI::Validator oneOf(std::vector<std::string> words);
} // namespace check

// What a command line asks for: a command to run, a help text or the data folder to print, or
// nothing (a usage error).
struct CliParse {
    enum class Kind { Run, Help, UsageError, PrintDataDir };
    Kind kind = Kind::UsageError;
    CliOptions options;     // Run
    CliCommand* command{};  // Run: one of `commands`, its own options parsed
    std::string text;       // Help: the whole text; UsageError: one line saying what is wrong
    std::string helpPrefix; // the command whose --help explains, e.g. "korvan-cli send"
    std::vector<std::unique_ptr<CliCommand>> commands;

    CliParse();
    ~CliParse();
    CliParse(CliParse&&) noexcept;
    CliParse& operator=(CliParse&&) noexcept;

    // Parses the arguments after the program name.
    static CliParse parse(const std::vector<std::string>& args);
};

} // namespace korvan::cli
