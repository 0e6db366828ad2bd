#include "ScaleList.h"

#include "common/TextCodec.h"
#include "link/ComPorts.h"
#include "link/HidDevices.h"
#include "link/UdpChannel.h"

namespace korvan {
namespace {

constexpr std::size_t kFields = 4; // name, mode, port, address

} // namespace

LinkSettings ScaleEntry::settings() const {
    LinkSettings settings = link;
    if (settings.mode == LinkMode::Usb)
        settings.devicePath = settings.port;
    return settings;
}

IoResult ScaleList::load(const std::filesystem::path& file) {
    TrackedFile tracked(file);
    return load(tracked);
}

IoResult ScaleList::load(TrackedFile& file) {
    const auto loaded = file.readLines();
    scales.clear();
    portDevices = ComPorts::load(file.path().parent_path() / ComPorts::kFileName).value;
    if (!loaded)
        return loaded.result;
    for (const std::string& line : loaded.value) {
        if (line.empty())
            continue; // a blank line names no scale
        const std::vector<std::string> fields = RecordFile::splitFields(line, kFields);
        ScaleEntry entry{fields[0], {}};
        entry.link.modeText = fields[1];
        entry.link.mode = LinkSettings::modeFromText(fields[1]);
        entry.link.port = fields[2];
        entry.link.targetIp = fields[3];
        scales.push_back(std::move(entry));
    }
    return {};
}

IoResult ScaleList::loadForJob(const DataDir& dir, Lang lang) {
    if (IoResult read = load(file(dir)); !read)
        return read;
    if (scales.empty())
        return IoResult::failed(
            Tr{"record/scales.rec 中没有秤", "record/scales.rec lists no scales"}.get(lang));
    if (std::string bad = problem(lang); !bad.empty())
        return IoResult::failed("record/scales.rec: " + bad);
    return {};
}

std::vector<std::string> ScaleList::portChoices(LinkMode mode, HidBackend& hid) {
    std::vector<std::string> choices;
    if (mode == LinkMode::Serial) {
        choices = ComPorts::names();
        for (std::string& device : ComPorts::present())
            choices.push_back(std::move(device));
    } else if (mode == LinkMode::Usb) {
        for (const HidDeviceInfo& info : hid.list())
            if (HidDevices::isScale(info))
                choices.push_back(info.path);
    }
    return choices;
}

std::vector<std::string> ScaleList::lines(Lang lang) const {
    std::vector<std::string> result;
    result.reserve(scales.size());
    for (const ScaleEntry& scale : scales) {
        const std::string mode = scale.link.mode == LinkMode::None
                                     ? scale.link.modeText
                                     : LinkSettings::modeName(scale.link.mode, lang);
        result.push_back(
            RecordFile::joinFields({scale.name, mode, scale.link.port, scale.link.targetIp}));
    }
    return result;
}

IoResult ScaleList::save(const std::filesystem::path& file, Lang lang) const {
    if (std::string refusal = problem(lang); !refusal.empty())
        return IoResult::failed(std::move(refusal));
    return RecordFile::writeLines(file, lines(lang));
}

std::string ScaleList::serialDevice(const std::string& port) const {
    std::string device = ComPorts::device(portDevices, port);
    return device.empty() ? port : device; // a name that is no port is compared as written
}

std::string ScaleList::problem(const ScaleEntry& entry, std::size_t index, Lang lang) const {
    if (entry.name.empty())
        return Tr{"秤名不能为空", "The scale needs a name"}.get(lang);
    if (entry.name.size() > kNameLimit || entry.name.find_first_of("\f\r\n") != std::string::npos)
        return Tr{"秤名最多16个字节(8个汉字), 不能含换行",
                  "A scale name holds at most 16 bytes "
                  "(8 Chinese characters) and no line break"}
            .get(lang);
    for (std::size_t i = 0; i < scales.size(); ++i) {
        if (i == index)
            continue;
        if (scales[i].name == entry.name)
            return Tr{"已有同名的秤", "Another scale has this name"}.get(lang);
        const LinkSettings& other = scales[i].link;
        if (other.mode != entry.link.mode)
            continue;
        if (entry.link.mode == LinkMode::Network && other.targetIp == entry.link.targetIp)
            return Tr{"已有秤使用这个IP地址", "Another scale has this IP address"}.get(lang);
        // One port or device carries one conversation: two jobs on it would mix their bytes.
        if ((entry.link.mode == LinkMode::Serial &&
             serialDevice(other.port) == serialDevice(entry.link.port)) ||
            (entry.link.mode == LinkMode::Usb && other.port == entry.link.port &&
             !entry.link.port.empty()))
            return Tr{"已有秤使用这个端口", "Another scale uses this port"}.get(lang);
        if (entry.link.mode == LinkMode::Usb && (other.port.empty() || entry.link.port.empty()))
            return Tr{"有多台USB秤时, 每台都要填写设备路径",
                      "With several USB scales, each needs its device path"}
                .get(lang);
    }
    switch (entry.link.mode) {
    case LinkMode::None:
        return Tr{"通讯方式必须是串口、网口或USB", "The link must be serial port, network or USB"}
            .get(lang);
    case LinkMode::Network:
        if (std::string bad = entry.link.targetIpProblem(lang); !bad.empty())
            return bad;
        // Every scale answers to the same port of the PC, told apart by its address: a
        // broadcast would reach all of them and their answers could not be sorted.
        if (UdpChannel::isBroadcastAddress(entry.link.targetIp))
            return Tr{"秤列表不能用广播地址", "A scale list cannot hold a broadcast address"}.get(
                lang);
        return {};
    case LinkMode::Serial:
        if (entry.link.port.empty())
            return Tr{"串口通讯的秤需要串口名", "A serial scale needs its port"}.get(lang);
        return {};
    case LinkMode::Usb:
        return {};
    }
    return {};
}

std::string ScaleList::problem(Lang lang) const {
    for (std::size_t i = 0; i < scales.size(); ++i)
        if (std::string bad = problem(scales[i], i, lang); !bad.empty())
            return (lang == Lang::Chinese ? "第" + std::to_string(i + 1) + "行: "
                                          : "line " + std::to_string(i + 1) + ": ") +
                   bad;
    return {};
}

const ScaleEntry* ScaleList::find(const std::string& name) const {
    for (const ScaleEntry& scale : scales)
        if (scale.name == name)
            return &scale;
    return nullptr;
}

std::string ScaleList::namesText() const {
    std::string text;
    for (const ScaleEntry& scale : scales)
        text += (text.empty() ? "" : ", ") + TextCodec::toUtf8Lossy(scale.name);
    return text;
}

} // namespace korvan
