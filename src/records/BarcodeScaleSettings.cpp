#include "BarcodeScaleSettings.h"

namespace korvan {

namespace {
char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
} // namespace

std::optional<std::size_t> BarcodeScaleSettings::itemFor(std::span<const std::string_view> items,
                                                         std::string_view stored) {
    if (stored.empty())
        return std::nullopt;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string_view item = items[i];
        if (item.size() < stored.size())
            continue;
        bool same = true;
        for (std::size_t j = 0; same && j < stored.size(); ++j)
            same = lower(item[j]) == lower(stored[j]);
        if (same)
            return i;
    }
    return std::nullopt;
}

} // namespace korvan
