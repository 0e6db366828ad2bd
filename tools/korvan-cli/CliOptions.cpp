#include "CliOptions.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>

#include "CliCommand.h"
#include "CliJob.h"
#include "link/ComPorts.h"
#include "link/LinkSettings.h"

namespace korvan::cli {
namespace {

constexpr const char* kProgram = "korvan-cli";

CLI::Validator ipv4Address() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (LinkSettings::isDottedIpv4(text))
                return {};
            return "takes a dotted IPv4 address, not '" + text + "'";
        },
        "");
}

CLI::Validator comPort() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (ComPorts::number(text) || (!text.empty() && text.front() == '/'))
                return {};
            return "takes COM1 to COM15 or a device path, not '" + text + "'";
        },
        "");
}

CLI::Validator portNumber() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            unsigned value = 0;
            if (std::sscanf(text.c_str(), "%5u", &value) == 1 && value >= 1 && value <= 65535 &&
                text == std::to_string(value))
                return {};
            return "takes a port number from 1 to 65535, not '" + text + "'";
        },
        "");
}

// The subcommand the user had reached, as the words to type before --help.
std::string commandPath(const CLI::App& app) {
    std::string path = kProgram;
    const CLI::App* at = &app;
    while (true) {
        const auto chosen = at->get_subcommands();
        if (chosen.empty())
            break;
        at = chosen.back();
        path += " " + at->get_name();
    }
    return path;
}

// The reached subcommand (or the program itself when none was reached).
CLI::App* reached(CLI::App& app) {
    CLI::App* at = &app;
    while (!at->get_subcommands().empty())
        at = at->get_subcommands().back();
    return at;
}

// CLI11's message, reworded where it would leave the user guessing.
std::string explain(const CLI::ParseError& error, CLI::App& app) {
    CLI::App* at = reached(app);
    const std::string where = commandPath(app);
    std::vector<std::string> extra = app.remaining(true);
    // Arguments left over come back in no useful order; show them as typed.
    std::string typed;
    for (const std::string& word : extra)
        typed += (typed.empty() ? "" : " ") + word;
    if (dynamic_cast<const CLI::RequiredError*>(&error) && at->get_require_subcommand_min() > 0 &&
        at->get_subcommands().empty()) {
        std::string names;
        for (const CLI::App* sub : at->get_subcommands([](CLI::App*) { return true; }))
            names += (names.empty() ? "" : ", ") + sub->get_name();
        if (!extra.empty())
            return "unknown command '" + extra.front() + "' for " + where + "; one of: " + names;
        return "no command given for " + where + "; one of: " + names;
    }
    if (dynamic_cast<const CLI::ExtrasError*>(&error))
        return where + " does not take '" + typed + "'";
    const std::string what = error.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) &&
        what.find("missing") != std::string::npos)
        return what.substr(0, what.find(':')) + " needs a value";
    return what;
}

} // namespace

namespace check {

CLI::Validator dateTime() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (CliOptions::parseDateTime(text))
                return {};
            return "takes a date and time as \"YYYY-MM-DD HH:MM:SS\", not '" + text + "'";
        },
        "");
}

CLI::Validator oneOf(std::vector<std::string> words) {
    std::string listed;
    for (std::size_t i = 0; i < words.size(); ++i)
        listed += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
    return CLI::Validator(
        [words, listed](std::string& text) -> std::string {
            if (std::find(words.begin(), words.end(), text) != words.end())
                return {};
            return "takes " + listed + ", not '" + text + "'";
        },
        "");
}

} // namespace check

std::optional<std::tm> CliOptions::parseDateTime(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
    if (text.size() != 19 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &year, &month, &day, &hour, &minute,
                    &second, &used) != 6 ||
        used != 19)
        return std::nullopt;
    using namespace std::chrono;
    const year_month_day date{std::chrono::year(year), std::chrono::month(unsigned(month)),
                              std::chrono::day(unsigned(day))};
    if (!date.ok() || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 ||
        second > 59)
        return std::nullopt;
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_wday = static_cast<int>(weekday(sys_days(date)).c_encoding());
    local.tm_isdst = -1;
    return local;
}

namespace {

// Options taken as words and turned into values once the whole line has parsed.
struct GlobalWords {
    std::string link, ip, port;
    bool printDataDir = false;
};

void addGlobalOptions(CLI::App& app, CliOptions& o, GlobalWords& words) {
    app.add_option("--data-dir", o.dataDir,
                   "data directory (default: the working directory when it holds record/, else "
                   "$XDG_DATA_HOME/korvan, normally ~/.local/share/korvan)")
        ->type_name("DIR");
    app.add_flag("--print-data-dir", words.printDataDir,
                 "print the data directory in use and exit");
    app.add_option("--link", words.link, "the link to use instead of record/tx.rec's")
        ->check(check::oneOf({"network", "serial", "usb"}))
        ->type_name("network|serial|usb");
    app.add_option("--ip", words.ip, "the scale's IPv4 address")
        ->check(ipv4Address())
        ->type_name("ADDR");
    app.add_option("--port", words.port,
                   "serial port: COM1 to COM15 (record/comports.rec maps them to devices) or a "
                   "device path")
        ->check(comPort())
        ->type_name("COMn|PATH");
    app.add_option("--local-port", o.localPort, "port the answers arrive on")
        ->check(portNumber())
        ->type_name("N")
        ->capture_default_str();
    app.add_option("--scale-port", o.scalePort, "the scale's port")
        ->check(portNumber())
        ->type_name("N")
        ->capture_default_str();
    app.add_option("--probe-port", o.probePort, "the scale's port for the link test probe")
        ->check(portNumber())
        ->type_name("N")
        ->capture_default_str();
    app.add_option("--scale", o.scales,
                   "run the job on this scale of record/scales.rec (repeatable; all: every "
                   "scale), all at once: one outcome line per scale, then a summary")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->type_name("NAME|all");
    app.add_flag("-q,--quiet", o.quiet, "print the outcome line only");
}

// Adds every command, each under its group; returns which command each subcommand runs.
std::map<const CLI::App*, CliCommand*>
addCommands(CLI::App& app, const std::vector<std::unique_ptr<CliCommand>>& commands) {
    const std::string globals = "Options of korvan-cli (see korvan-cli --help) may be given too.";
    CLI::App* send = app.add_subcommand("send", "sends a table, a text or the clock to the scale");
    send->require_subcommand(1);
    send->footer(globals);
    std::map<const CLI::App*, CliCommand*> byApp;
    for (const auto& command : commands) {
        CLI::App* sub = command->attach(command->group() == "send" ? *send : app, globals);
        byApp[sub] = command.get();
    }
    return byApp;
}

void configure(CLI::App& app) {
    // Global options may also follow the command, as in "korvan-cli read-records --ip ADDR".
    app.fallthrough();
    // An option given twice takes its last value, so a script can override an earlier one.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.get_formatter()->label("SUBCOMMAND", "COMMAND");
    app.get_formatter()->label("SUBCOMMANDS", "COMMANDS");
    app.get_formatter()->label("Subcommands", "Commands");
    app.footer("Progress goes to stderr (at most once a second without a terminal); the job's\n"
               "outcome is the last line on stdout.\n"
               "Exit status: 0 the scale confirmed the end of the job, 1 refused, silent or link\n"
               "failure or an outcome that could not be saved or written, 2 usage error or\n"
               "unreadable input.");
}

} // namespace

CliParse::CliParse() = default;
CliParse::~CliParse() = default;
CliParse::CliParse(CliParse&&) noexcept = default;
CliParse& CliParse::operator=(CliParse&&) noexcept = default;

CliParse CliParse::parse(const std::vector<std::string>& args) {
    CliParse result;
    result.commands = allCommands();
    GlobalWords words;
    CLI::App app("Runs one transfer job with the scale, headless. The link comes from\n"
                 "record/tx.rec unless overridden; messages follow record/language.rec.",
                 kProgram);
    configure(app);
    // Printing the data folder is the one thing asked without a command.
    const bool printOnly =
        std::find(args.begin(), args.end(), std::string("--print-data-dir")) != args.end();
    app.require_subcommand(printOnly ? 0 : 1, 1);
    addGlobalOptions(app, result.options, words);
    const auto byApp = addCommands(app, result.commands);

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        result.kind = Kind::Help;
        result.text = app.help();
        return result;
    } catch (const CLI::ParseError& e) {
        result.text = explain(e, app);
        result.helpPrefix = commandPath(app);
        return result;
    }
    if (words.printDataDir) {
        result.kind = Kind::PrintDataDir;
        return result;
    }
    result.command = byApp.at(reached(app));
    result.helpPrefix = commandPath(app);
    if (result.text = result.command->usageProblem(); !result.text.empty())
        return result;
    if (!result.options.scales.empty()) {
        // The links come from the scale list, one per scale.
        if (!dynamic_cast<const CliJob*>(result.command)) {
            result.text = "--scale goes with the commands that run a job with the scale";
            return result;
        }
        if (!words.link.empty() || !words.ip.empty() || !words.port.empty()) {
            result.text = "--scale takes each scale's link from record/scales.rec; --link, --ip "
                          "and --port cannot go with it";
            return result;
        }
    }
    CliOptions& o = result.options;
    if (!words.link.empty())
        o.link = words.link == "network"  ? LinkMode::Network
                 : words.link == "serial" ? LinkMode::Serial
                                          : LinkMode::Usb;
    if (!words.ip.empty())
        o.ip = words.ip;
    if (!words.port.empty())
        o.port = words.port;
    result.kind = Kind::Run;
    return result;
}

} // namespace korvan::cli
