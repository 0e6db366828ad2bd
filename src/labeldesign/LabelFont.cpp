#include "LabelFont.h"

#include <algorithm>

namespace korvan {

const FontSize* LabelFont::size(std::string_view name) {
    const auto found = std::find_if(kSizes.begin(), kSizes.end(),
                                    [name](const FontSize& size) { return size.name == name; });
    return found == kSizes.end() ? nullptr : &*found;
}

std::string LabelFont::sizeCode(std::string_view name) {
    const FontSize* found = size(name);
    return found ? std::string(1, found->code) : std::string();
}

CharacterCell LabelFont::textCell(std::string_view font, std::string_view size) {
    if (!big(font))
        return kSmallCell;
    const FontSize* found = LabelFont::size(size);
    return found ? found->cell : kBigCell;
}

} // namespace korvan
