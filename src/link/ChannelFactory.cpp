#include "ChannelFactory.h"

namespace korvan {

ChannelFactory::Function ChannelFactory::standard(NetworkPorts ports) {
    return [ports](const LinkSettings& settings) -> std::unique_ptr<Channel> {
        switch (settings.mode) {
        case LinkMode::Network:
            return std::make_unique<UdpChannel>(settings.targetIp, ports.local, ports.target);
        case LinkMode::Serial:
        case LinkMode::Usb:
        case LinkMode::None:
            break;
        }
        return nullptr;
    };
}

bool ChannelFactory::isAvailable(LinkMode mode) {
    return mode == LinkMode::Network;
}

} // namespace korvan
