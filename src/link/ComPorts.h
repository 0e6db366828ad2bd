#pragma once
// Serial port names as the settings and the scale's manuals use them ("COM1" to "COM15") and the
// devices they stand for on this machine. record/comports.rec maps a name to a device, one line
// per port: the name, a form feed, the device path. A name the file does not map is COMn ->
// /dev/ttyS<n-1>, the machine's own serial ports in order.
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/DataDir.h"
#include "common/RecordFile.h"

namespace korvan {

class ComPorts {
public:
    static constexpr const char* kFileName = "comports.rec";
    static std::filesystem::path file(const DataDir& dir) { return dir.record(kFileName); }
    static constexpr int kCount = 15;

    // The number of a port name, COM1 to COM15 (letters in any case); none for anything else.
    static std::optional<int> number(const std::string& name);
    // Every port name in order, COM1 first.
    static std::vector<std::string> names();

    // The mapped devices by port name (upper case). A missing file maps nothing; lines for names
    // that are no port are ignored.
    static Loaded<std::map<std::string, std::string>> load(const std::filesystem::path& file);
    static IoResult save(const std::filesystem::path& file,
                         const std::map<std::string, std::string>& devices);

    // The device of a port name: the mapped one, else the default; a device path stays itself;
    // empty for a name that is no port and has no mapping.
    static std::string device(const std::map<std::string, std::string>& devices,
                              const std::string& name);

    // The port name that stands for a device path in record/tx.rec, where only COM1 to COM15
    // belong: the name the map gives the device, else a free name added to `devices` (the
    // lowest the map lacks whose default device is not in `devDir`, else the highest the map
    // lacks). None when every name is mapped to another device.
    static std::optional<std::string> nameFor(std::map<std::string, std::string>& devices,
                                              const std::string& device,
                                              const std::filesystem::path& devDir = "/dev");

    // The serial devices present, for the settings screen: USB adapters first (ttyUSB*, then
    // ttyACM*), then the machine's own ports (ttyS*), each group in number order.
    static std::vector<std::string> present(const std::filesystem::path& devDir = "/dev");
};

} // namespace korvan
