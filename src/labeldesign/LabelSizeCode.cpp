#include "LabelSizeCode.h"

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

} // namespace korvan
