#include "ComPorts.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace korvan {

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

// The number after a device's prefix ("ttyUSB12" -> 12), for sorting; none when not a number.
std::optional<int> suffixNumber(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    int value = 0;
    const char* begin = name.data() + prefix.size();
    const char* end = name.data() + name.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<int> ComPorts::number(const std::string& name) {
    const std::string text = upper(name);
    if (text.size() < 4 || text.compare(0, 3, "COM") != 0 || text[3] == '0')
        return std::nullopt;
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + 3, text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size() || value < 1 || value > kCount)
        return std::nullopt;
    return value;
}

std::vector<std::string> ComPorts::names() {
    std::vector<std::string> out;
    for (int n = 1; n <= kCount; ++n)
        out.push_back("COM" + std::to_string(n));
    return out;
}

Loaded<std::map<std::string, std::string>> ComPorts::load(const std::filesystem::path& file) {
    auto lines = RecordFile::readLines(file);
    std::map<std::string, std::string> devices;
    for (const std::string& line : lines.value) {
        auto fields = RecordFile::splitFields(line, 2);
        if (number(fields[0]) && !fields[1].empty())
            devices[upper(fields[0])] = fields[1];
    }
    return {std::move(devices), lines.result};
}

IoResult ComPorts::save(const std::filesystem::path& file,
                        const std::map<std::string, std::string>& devices) {
    std::vector<std::string> lines;
    for (const std::string& name : names()) // in port order, whatever the map's order
        if (const auto it = devices.find(name); it != devices.end() && !it->second.empty())
            lines.push_back(RecordFile::joinFields({name, it->second}));
    return RecordFile::writeLines(file, lines);
}

std::string ComPorts::device(const std::map<std::string, std::string>& devices,
                             const std::string& name) {
    if (!name.empty() && name.front() == '/')
        return name; // a device named by its path
    const std::string key = upper(name);
    if (const auto it = devices.find(key); it != devices.end())
        return it->second;
    if (const auto n = number(key))
        return "/dev/ttyS" + std::to_string(*n - 1);
    return {};
}

std::optional<std::string> ComPorts::nameFor(std::map<std::string, std::string>& devices,
                                             const std::string& device,
                                             const std::filesystem::path& devDir) {
    for (const auto& [name, mapped] : devices)
        if (mapped == device)
            return name;
    std::optional<std::string> free;
    for (const std::string& name : names()) {
        if (devices.count(name))
            continue;
        std::error_code ec;
        const bool defaultPresent =
            std::filesystem::exists(devDir / ("ttyS" + std::to_string(*number(name) - 1)), ec);
        free = name; // the highest so far, when every default device is there
        if (!defaultPresent)
            break;
    }
    if (free)
        devices[*free] = device;
    return free;
}

std::vector<std::string> ComPorts::present(const std::filesystem::path& devDir) {
    static const std::string kPrefixes[] = {"ttyUSB", "ttyACM", "ttyS"};
    std::vector<std::pair<std::pair<std::size_t, int>, std::string>> found;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(devDir, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        for (std::size_t p = 0; p < std::size(kPrefixes); ++p)
            if (const auto n = suffixNumber(name, kPrefixes[p]))
                found.push_back({{p, *n}, it->path().string()});
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> out;
    for (auto& entry : found)
        out.push_back(std::move(entry.second));
    return out;
}

} // namespace korvan
