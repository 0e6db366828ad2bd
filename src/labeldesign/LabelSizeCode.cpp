#include "LabelSizeCode.h"

#include "LabelCheck.h"

#include <algorithm>
#include <cctype>

namespace korvan {

std::optional<LabelSizeCode::Size> LabelSizeCode::size(std::string_view fileName) {
    if (fileName.empty())
        return std::nullopt;
    switch (fileName.front()) {
    case '1':
        return Size{56, 35};
    case '2':
        return Size{40, 30};
    case '3':
        return Size{60, 40};
    default:
        return std::nullopt;
    }
}

std::string LabelSizeCode::caption(std::string_view fileName) {
    if (fileName.empty())
        return {};
    std::string text(1, fileName.front());
    if (const auto s = size(fileName))
        text += "=" + std::to_string(s->width) + "*" + std::to_string(s->height);
    return text;
}

std::vector<std::string> LabelSizeCode::labelFiles(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        // Sorted below: the order a folder happens to list its files in means nothing to anyone.
        const std::filesystem::path& path = it->path();
        // Files copied from a Windows folder may carry ".BEL".
        if (LabelCheck::isLabelFileName(path) && it->is_regular_file(ec))
            names.push_back(path.filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace korvan
