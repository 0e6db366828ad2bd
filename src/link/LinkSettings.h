#pragma once
// The link settings of record/tx.rec: line 1 the link mode (by its name in either language),
// line 2 the serial port name, line 3 the scale's IP address. Lines are code page 936 bytes.
#include <filesystem>
#include <string>
#include <string_view>

#include "common/DataDir.h"
#include "common/Language.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"
#include <vector>
#include "link/LinkMode.h"

namespace korvan {

class LinkSettings {
public:
    // The file of the communication settings in a data folder.
    static std::filesystem::path file(const DataDir& dir) { return dir.record("tx.rec"); }
    LinkMode mode = LinkMode::None;
    std::string modeText; // line 1 as read (GBK); kept so an unknown mode is not lost
    std::string port;     // "COM1" to "COM15"
    std::string targetIp; // dotted IPv4
    // USB: the HID device path of the scale meant when several are connected; empty: the first
    // scale device found. Not part of tx.rec.
    std::string devicePath;

    // Reads the file over the current values: a line the file lacks keeps its value, and a
    // missing file keeps them all. Lines after the third are ignored.
    IoResult load(const std::filesystem::path& file);
    // The same, remembering what was read so a later save can tell another program's write.
    IoResult load(TrackedFile& file);
    // Writes the three lines (CR LF each), the mode by its name in `lang` (English when the
    // language is neither).
    IoResult save(const std::filesystem::path& file, Lang lang) const;
    std::vector<std::string> lines(Lang lang) const;
    // The same link as `other` would store: mode, port (its name in any case: "com3" is COM3)
    // and address.
    bool sameLinkAs(const LinkSettings& other) const;

    void setMode(LinkMode newMode);

    // Why these settings must not be saved, in `lang` ("" when they may): a target IP that is
    // not a dotted IPv4 address would make every network job wait out the silence limit. An
    // empty one is refused only for the network link.
    std::string targetIpProblem(Lang lang) const;
    // Four decimal numbers 0 to 255 joined by dots, nothing around them: what the network link
    // can send to.
    static bool isDottedIpv4(std::string_view text);

    // The mode a line 1 names: the English or the Chinese name, compared byte for byte.
    static LinkMode modeFromText(std::string_view gbk);
    // The name of a mode in a language, as GBK bytes ("" for None).
    static std::string modeName(LinkMode mode, Lang lang);
};

} // namespace korvan
