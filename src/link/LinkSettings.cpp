#include "LinkSettings.h"

#include "link/ComPorts.h"

#include "common/TextCodec.h"

#include <arpa/inet.h>
#include <array>

namespace korvan {
namespace {

struct ModeNames {
    LinkMode mode;
    std::string english;
    std::string chinese; // GBK
};

const std::array<ModeNames, 3>& modeNames() {
    static const std::array<ModeNames, 3> names = {{
        {LinkMode::Serial, "SerialPort", TextCodec::toGbk("串口通讯").value_or("")},
        {LinkMode::Network, "Network", TextCodec::toGbk("网口通讯").value_or("")},
        {LinkMode::Usb, "USB", TextCodec::toGbk("USB通讯").value_or("")},
    }};
    return names;
}

} // namespace

LinkMode LinkSettings::modeFromText(std::string_view gbk) {
    for (const ModeNames& names : modeNames())
        if (gbk == names.english || gbk == names.chinese)
            return names.mode;
    return LinkMode::None;
}

std::string LinkSettings::modeName(LinkMode mode, Lang lang) {
    for (const ModeNames& names : modeNames())
        if (names.mode == mode)
            return lang == Lang::Chinese ? names.chinese : names.english;
    return {};
}

bool LinkSettings::isDottedIpv4(std::string_view text) {
    // The same parse the network link makes of the address (no leading zeros either).
    in_addr parsed{};
    return ::inet_pton(AF_INET, std::string(text).c_str(), &parsed) == 1;
}

std::string LinkSettings::targetIpProblem(Lang lang) const {
    if (isDottedIpv4(targetIp) || (targetIp.empty() && mode != LinkMode::Network))
        return {};
    const Tr problem{"目标IP必须是IPv4地址: 用点分开的四个0到255的数字, 例如192.168.1.100",
                     "The target IP must be an IPv4 address: four numbers from 0 to 255 "
                     "joined by dots, such as 192.168.1.100"};
    return problem.get(lang);
}

void LinkSettings::setMode(LinkMode newMode) {
    mode = newMode;
    modeText = modeName(newMode, Lang::English);
}

IoResult LinkSettings::load(const std::filesystem::path& file) {
    TrackedFile tracked(file);
    return load(tracked);
}

IoResult LinkSettings::load(TrackedFile& file) {
    const auto loaded = file.readLines();
    if (!loaded)
        return loaded.result;
    const std::vector<std::string>& lines = loaded.value;
    if (lines.size() > 0) {
        modeText = lines[0];
        mode = modeFromText(modeText);
    }
    if (lines.size() > 1)
        port = lines[1];
    if (lines.size() > 2)
        targetIp = lines[2];
    return {};
}

bool LinkSettings::sameLinkAs(const LinkSettings& other) const {
    return mode == other.mode && ComPorts::number(port) == ComPorts::number(other.port) &&
           targetIp == other.targetIp;
}

std::vector<std::string> LinkSettings::lines(Lang lang) const {
    return {modeName(mode, lang), port, targetIp};
}

IoResult LinkSettings::save(const std::filesystem::path& file, Lang lang) const {
    return RecordFile::writeLines(file, lines(lang));
}

} // namespace korvan
