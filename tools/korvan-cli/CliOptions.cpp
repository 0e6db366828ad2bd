#include "CliOptions.h"

#include <arpa/inet.h>
#include <charconv>
#include <chrono>
#include <cstdio>

namespace korvan::cli {
namespace {

bool parsePort(const std::string& text, std::uint16_t& port) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535)
        return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

bool isComPort(const std::string& text) {
    for (int i = 1; i <= 15; ++i)
        if (text == "COM" + std::to_string(i))
            return true;
    return false;
}

} // namespace

const char* CliOptions::usage() {
    return "Usage: korvan-cli [OPTIONS] COMMAND\n"
           "\n"
           "Runs one transfer job with the scale, headless. The link comes from record/tx.rec\n"
           "unless overridden; messages follow record/language.rec.\n"
           "\n"
           "Commands:\n"
           "  send commodities [--family orin-kesa|vamo]  records of record/sp.rec (vamo)\n"
           "  send descriptions                           texts of record/spsm.rec\n"
           "  send store-name | shop-phone | store-address\n"
           "                                              line 1, 2 or 3 of record/xpwz.rec\n"
           "  send datetime [--at \"YYYY-MM-DD HH:MM:SS\"]  the scale's clock (now by default)\n"
           "  read-records                                appends to record/dzcjl.rec\n"
           "  clear-records --yes                         deletes the scale's sales records\n"
           "\n"
           "Options:\n"
           "  --data-dir DIR          data directory (default: the working directory)\n"
           "  --link network|serial|usb\n"
           "  --ip ADDR               the scale's IPv4 address\n"
           "  --port COMn             serial port, COM1 to COM15\n"
           "  --local-port N          port answers arrive on (default 7000)\n"
           "  --scale-port N          the scale's port (default 8000)\n"
           "  --help                  this text\n"
           "\n"
           "Progress goes to stderr; the job's outcome is the last line on stdout.\n"
           "Exit status: 0 the scale confirmed the end of the job, 1 refused, silent or link\n"
           "failure, 2 usage error or unreadable input.\n";
}

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

std::optional<CliOptions> CliOptions::parse(const std::vector<std::string>& args,
                                            std::string& error) {
    CliOptions options;
    std::vector<std::string> words;
    bool familyGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return options;
        } else if (arg == "--data-dir") {
            if (!value(options.dataDir))
                return std::nullopt;
        } else if (arg == "--link") {
            if (!value(v))
                return std::nullopt;
            if (v == "network")
                options.link = LinkMode::Network;
            else if (v == "serial")
                options.link = LinkMode::Serial;
            else if (v == "usb")
                options.link = LinkMode::Usb;
            else {
                error = "--link takes network, serial or usb, not '" + v + "'";
                return std::nullopt;
            }
        } else if (arg == "--ip") {
            if (!value(v))
                return std::nullopt;
            in_addr parsed{};
            if (::inet_pton(AF_INET, v.c_str(), &parsed) != 1) {
                error = "--ip takes a dotted IPv4 address, not '" + v + "'";
                return std::nullopt;
            }
            options.ip = v;
        } else if (arg == "--port") {
            if (!value(v))
                return std::nullopt;
            if (!isComPort(v)) {
                error = "--port takes COM1 to COM15, not '" + v + "'";
                return std::nullopt;
            }
            options.port = v;
        } else if (arg == "--local-port" || arg == "--scale-port") {
            if (!value(v))
                return std::nullopt;
            if (!parsePort(v, arg == "--local-port" ? options.localPort : options.scalePort)) {
                error = arg + " takes a port number from 1 to 65535, not '" + v + "'";
                return std::nullopt;
            }
        } else if (arg == "--family") {
            if (!value(v))
                return std::nullopt;
            if (v == "orin-kesa")
                options.family = ModelFamily::OrinKesa;
            else if (v == "vamo")
                options.family = ModelFamily::Vamo;
            else {
                error = "--family takes orin-kesa or vamo, not '" + v + "'";
                return std::nullopt;
            }
            familyGiven = true;
        } else if (arg == "--at") {
            if (!value(v))
                return std::nullopt;
            options.at = parseDateTime(v);
            if (!options.at) {
                error = "--at takes a date and time as \"YYYY-MM-DD HH:MM:SS\", not '" + v + "'";
                return std::nullopt;
            }
        } else if (arg == "--yes") {
            options.yes = true;
        } else if (arg.rfind("-", 0) == 0) {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            words.push_back(arg);
        }
    }

    const std::string joined = [&] {
        std::string s;
        for (const std::string& w : words)
            s += (s.empty() ? "" : " ") + w;
        return s;
    }();
    if (joined.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    if (joined == "send commodities")
        options.command = Command::SendCommodities;
    else if (joined == "send descriptions")
        options.command = Command::SendDescriptions;
    else if (joined == "send store-name")
        options.command = Command::SendStoreName;
    else if (joined == "send shop-phone")
        options.command = Command::SendShopPhone;
    else if (joined == "send store-address")
        options.command = Command::SendStoreAddress;
    else if (joined == "send datetime")
        options.command = Command::SendDateTime;
    else if (joined == "read-records")
        options.command = Command::ReadRecords;
    else if (joined == "clear-records")
        options.command = Command::ClearRecords;
    else {
        error = "unknown command '" + joined + "'";
        return std::nullopt;
    }

    if (familyGiven && options.command != Command::SendCommodities) {
        error = "--family belongs to send commodities";
        return std::nullopt;
    }
    if (options.at && options.command != Command::SendDateTime) {
        error = "--at belongs to send datetime";
        return std::nullopt;
    }
    if (options.command == Command::ClearRecords && !options.yes) {
        error = "clear-records deletes every sales record in the scale; add --yes to confirm";
        return std::nullopt;
    }
    if (options.yes && options.command != Command::ClearRecords) {
        error = "--yes belongs to clear-records";
        return std::nullopt;
    }
    return options;
}

JobKind jobKind(Command command) {
    switch (command) {
    case Command::SendCommodities:
        return JobKind::CommodityDownload;
    case Command::SendDescriptions:
        return JobKind::DescriptionDownload;
    case Command::SendStoreName:
        return JobKind::StoreNameDownload;
    case Command::SendShopPhone:
        return JobKind::ShopPhoneDownload;
    case Command::SendStoreAddress:
        return JobKind::StoreAddressDownload;
    case Command::SendDateTime:
        return JobKind::DateTimeDownload;
    case Command::ReadRecords:
        return JobKind::ReadRecords;
    case Command::ClearRecords:
        return JobKind::ClearRecords;
    }
    return JobKind::CommodityDownload;
}

} // namespace korvan::cli
