#pragma once
// The scales of a shop, record/scales.rec (optional): one line per scale, its name, link mode,
// serial port and IP address separated by form feeds, code page 936 bytes. For a USB scale the
// port field holds the HID device path that tells it from the shop's other scales (empty: the
// first scale device found). The scale of tx.rec stays the current scale of every screen; this
// list is only what a job for several scales runs on.
#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/DataDir.h"
#include "common/Language.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"
#include "link/HidDevice.h"
#include "link/LinkSettings.h"

namespace korvan {

struct ScaleEntry {
    std::string name; // GBK, 1 to 16 bytes, unique in the list
    LinkSettings link;

    bool operator==(const ScaleEntry& other) const {
        // A known mode is the same in either language; an unknown one is its text.
        return name == other.name && link.mode == other.link.mode &&
               (link.mode != LinkMode::None || link.modeText == other.link.modeText) &&
               link.port == other.link.port && link.targetIp == other.link.targetIp;
    }
    // The link a job for this scale runs on (a USB scale's path as its device path).
    LinkSettings settings() const;
};

class ScaleList {
public:
    static constexpr std::size_t kNameLimit = 16; // bytes

    static std::filesystem::path file(const DataDir& dir) { return dir.record("scales.rec"); }

    std::vector<ScaleEntry> scales;
    // The serial devices of port names (record/comports.rec), so that two serial scales on one
    // device are refused however each names it. Empty: every COMn is its default device.
    std::map<std::string, std::string> portDevices;

    // Reads the list of `dir` for a job on its scales: refused (in `lang`) when it cannot be read,
    // names no scale or has a problem.
    IoResult loadForJob(const DataDir& dir, Lang lang);
    // What a scale's port field may hold for `mode`, to offer: the COM names and the serial
    // devices present, or the device paths of the scales among `hid`'s interfaces.
    static std::vector<std::string> portChoices(LinkMode mode, HidBackend& hid);

    // A missing file is an empty list. The port map beside it (record/comports.rec) is read into
    // portDevices; one that cannot be read maps nothing (the job on the port says why).
    IoResult load(const std::filesystem::path& file);
    IoResult load(TrackedFile& file);
    // Writes every scale, the mode by its name in `lang`; a mode that was read but is not known
    // keeps its text. The list must have no problem(): a list that does is not written.
    IoResult save(const std::filesystem::path& file, Lang lang) const;
    std::vector<std::string> lines(Lang lang) const;

    // Why `entry` may not stand at `index` of this list, in `lang` ("" when it may): a name
    // that is empty, longer than 16 bytes or another scale's; a network scale whose address is
    // no dotted IPv4 address, a broadcast address, or another network scale's address (answers
    // are told apart by their sender); a serial port or USB device path another scale has; a
    // USB scale without a path beside another USB scale; a scale with no known link. A serial
    // port is compared by the device it stands for ("COM4" and "/dev/ttyS3" are one port).
    std::string problem(const ScaleEntry& entry, std::size_t index, Lang lang) const;
    // The first problem of the whole list, prefixed by the scale's line number.
    std::string problem(Lang lang) const;

    // The scale of that name (exact bytes), or nullptr.
    const ScaleEntry* find(const std::string& name) const;
    // Every name, shown as UTF-8 and joined by ", ".
    std::string namesText() const;

private:
    std::string serialDevice(const std::string& port) const;
};

} // namespace korvan
