#pragma once
// Which channel carries a transfer. None: the settings name no channel, so no job can run.
#include <cstdint>

namespace korvan {

enum class LinkMode : std::uint8_t { None, Serial, Network, Usb };

} // namespace korvan
