#pragma once
// The command line of korvan-scale.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "common/RecordFile.h"
#include "HidTransport.h"
#include "ScaleSession.h"
#include "UdpTransport.h"

namespace korvan::sim {

struct ScaleOptions {
    std::filesystem::path store = "scale-store";
    UdpSettings udp;
    std::optional<std::filesystem::path> salesFile;
    std::optional<std::size_t> salesCount;
    SessionOptions session;
    std::optional<int> jobs; // exit after this many finished jobs
    bool serial = false;     // also serve a serial pseudo-terminal
    bool usb = false;        // also serve a virtual USB device
    HidSettings hid;         // its socket ("": usb.sock in the store folder) and identity
    bool quiet = false;      // no diagnostics on stderr (failures that stop the program stay)
    bool help = false;

    // Parses the arguments after the program name. A bad line fails with what is wrong.
    static Loaded<ScaleOptions> parse(int argc, const char* const* argv);
    static std::string usage();
};

} // namespace korvan::sim
