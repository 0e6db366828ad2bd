#pragma once
// The command line of korvan-cli, parsed and checked.
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "link/JobKind.h"
#include "link/LinkMode.h"
#include "link/Protocol.h"

namespace korvan::cli {

enum class Command {
    SendCommodities,
    SendDescriptions,
    SendStoreName,
    SendShopPhone,
    SendStoreAddress,
    SendDateTime,
    SendLabel,
    ReadRecords,
    ClearRecords,
    ExportRecords,
    PrintRecords,
    ExportCommodities, // record/sp.rec into a spreadsheet file
    ImportCommodities, // a spreadsheet file into record/sp.rec
    Update,            // the program update, always over USB
    TestLink,          // the settings screen's test of the configured link
};

struct CliOptions {
    std::string dataDir; // empty: the working directory or the user's data folder
    std::optional<LinkMode> link;
    std::optional<std::string> ip;
    std::optional<std::string> port;
    std::uint16_t localPort = protocol::kPcPort;
    std::uint16_t scalePort = protocol::kScalePort;
    std::uint16_t probePort = protocol::kProbePort; // test-link over the network
    bool quiet = false;                             // the outcome line only: no progress, no notes

    Command command = Command::SendCommodities;
    ModelFamily family = ModelFamily::Vamo;
    std::optional<std::tm> at; // send datetime --at, local calendar time
    std::string labelFile;     // send label FILE; empty: the file record/dqlabel.rec names
    bool yes = false;
    std::string xlsxFile;      // export-records --xlsx
    std::string pdfFile;       // print-records --pdf
    std::string dateQuery;     // export-records/print-records --date; empty: any day
    std::string nameQuery;     // export-records/print-records --name; empty: any name
    std::string updateFile;    // update FILE
    std::string commodityFile; // export-commodities/import-commodities FILE
    bool replace = false;      // import-commodities --replace
    bool validOnly = false;    // import-commodities --valid-only
    bool dryRun = false;       // import-commodities --dry-run

    // "YYYY-MM-DD HH:MM:SS" as a calendar time with its day of the week; nullopt when it is
    // no real date and time.
    static std::optional<std::tm> parseDateTime(const std::string& text);
};

// What a command line asks for: a job to run, a help text or the data folder to print, or nothing
// (a usage error).
struct CliParse {
    enum class Kind { Run, Help, UsageError, PrintDataDir };
    Kind kind = Kind::UsageError;
    CliOptions options;     // Run
    std::string text;       // Help: the whole text; UsageError: one line saying what is wrong
    std::string helpPrefix; // UsageError: the command whose --help explains, e.g. "korvan-cli send"

    // Parses the arguments after the program name.
    static CliParse parse(const std::vector<std::string>& args);
};

JobKind jobKind(Command command);

} // namespace korvan::cli
