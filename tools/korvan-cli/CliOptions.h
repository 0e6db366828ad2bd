#pragma once
// The command line of korvan-cli, parsed and checked.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "link/JobKind.h"
#include "link/LinkMode.h"

namespace korvan::cli {

enum class Command {
    SendCommodities,
    SendDescriptions,
    SendStoreName,
    SendShopPhone,
    SendStoreAddress,
    SendDateTime,
    ReadRecords,
    ClearRecords,
};

struct CliOptions {
    bool help = false;
    std::string dataDir; // empty: the working directory
    std::optional<LinkMode> link;
    std::optional<std::string> ip;
    std::optional<std::string> port;
    std::uint16_t localPort = 7000;
    std::uint16_t scalePort = 8000;

    Command command = Command::SendCommodities;
    ModelFamily family = ModelFamily::Vamo;
    std::optional<std::tm> at; // send datetime --at, local calendar time
    bool yes = false;

    // Parses the arguments after the program name. On a usage error returns nullopt and sets
    // `error` to a one-line explanation.
    static std::optional<CliOptions> parse(const std::vector<std::string>& args,
                                           std::string& error);
    static const char* usage();

    // "YYYY-MM-DD HH:MM:SS" as a calendar time with its day of the week; nullopt when it is
    // no real date and time.
    static std::optional<std::tm> parseDateTime(const std::string& text);
};

JobKind jobKind(Command command);

} // namespace korvan::cli
