#include "ChannelFactory.h"

#include "link/ComPorts.h"
#include "link/HidDevices.h"
#include "link/SerialChannel.h"
#include "link/UsbChannel.h"

namespace korvan {

ChannelFactory::Function ChannelFactory::standard(NetworkPorts ports, const DataDir& dataDir) {
    const std::filesystem::path portMap = ComPorts::file(dataDir);
    return [ports, portMap](const LinkSettings& settings) -> std::unique_ptr<Channel> {
        switch (settings.mode) {
        case LinkMode::Network:
            return std::make_unique<UdpChannel>(settings.targetIp, ports.local, ports.target);
        case LinkMode::Serial: {
            // A port map that cannot be read is no map: the default device could be another
            // machine's port than the one the operator mapped.
            const auto devices = ComPorts::load(portMap);
            if (!devices && !settings.port.starts_with('/'))
                return SerialChannel::unmapped(settings.port, devices.result.message());
            return std::make_unique<SerialChannel>(settings.port,
                                                   ComPorts::device(devices.value, settings.port));
        }
        case LinkMode::Usb:
            return std::make_unique<UsbChannel>(HidDevices::system(), Language::current(),
                                                ChannelTiming::usb(), UsbReconnect{},
                                                settings.devicePath);
        case LinkMode::None:
            break;
        }
        return nullptr;
    };
}

ChannelFactory::Function ChannelFactory::forScales(NetworkPorts ports, const DataDir& dataDir) {
    auto hub = std::make_shared<UdpHub>(ports.local);
    Function single = standard(ports, dataDir);
    return [ports, hub, single](const LinkSettings& settings) -> std::unique_ptr<Channel> {
        if (settings.mode == LinkMode::Network)
            return std::make_unique<UdpChannel>(settings.targetIp, ports.local, ports.target,
                                                ChannelTiming::network(), hub);
        return single(settings);
    };
}

} // namespace korvan
