#include "LabelGeometry.h"

#include <algorithm>

#include "Label.h"
#include "common/Number.h"

namespace korvan {

namespace {

// Far beyond any label yet small enough that positions times 5 plus lengths stay in 32 bits.
constexpr long kNumberLimit = 1'000'000;

// Length of a text in pixels: one cell per byte (a GB2312 character is two bytes wide) plus one
// pixel of spacing per character.
int textLength(const std::string& name, int cellWidth) {
    const long bytes = static_cast<long>(std::min<std::size_t>(name.size(), kNumberLimit));
    const long high = std::count_if(name.begin(), name.begin() + bytes,
                                    [](char c) { return static_cast<unsigned char>(c) > 0x80; });
    const long characters = bytes - high / 2;
    return static_cast<int>(cellWidth * bytes + characters);
}

// The rectangle whose `direction` corner is (x, y), `along` long in the print direction and
// `across` thick.
PixelRect rectFrom(int x, int y, int direction, int along, int across) {
    switch (direction) {
    case 0:
        return {x, y, x + along, y + across};
    case 90:
        return {x, y - along, x + across, y};
    case 180:
        return {x - along, y - across, x, y};
    case 270:
        return {x - across, y, x, y + along};
    default:
        return {};
    }
}

} // namespace

int LabelGeometry::number(const std::string& text) {
    return static_cast<int>(std::clamp(Number::parseInt(text), -kNumberLimit, kNumberLimit));
}

std::vector<std::string> LabelGeometry::characters(std::string_view name) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < name.size();) {
        const bool wide = static_cast<unsigned char>(name[i]) > 0x80 && i + 1 < name.size();
        const std::size_t n = wide ? 2 : 1;
        out.emplace_back(name.substr(i, n));
        i += n;
    }
    return out;
}

bool LabelGeometry::knownDirection(int direction) {
    return direction == 0 || direction == 90 || direction == 180 || direction == 270;
}

ElementGeometry LabelGeometry::measure(const LabelElement& element, bool barCode) {
    ElementGeometry g;
    g.name = element.name();
    g.barCode = barCode;
    g.direction = number(element.at(LabelElement::Direction));
    const std::string& font = element.at(LabelElement::Font);
    const CharacterCell cell = barCode ? LabelFont::digitCell(font)
                                       : LabelFont::textCell(font, element.at(LabelElement::Size));
    g.cellWidth = cell.width;
    g.cellHeight = cell.height;
    if (barCode)
        g.barHeight = number(element.at(LabelElement::Size));
    g.anchorX = pixelFromMm(number(element.at(LabelElement::XPos)));
    g.anchorY = pixelFromMm(number(element.at(LabelElement::YPos)));
    g.downX = number(element.at(LabelElement::DownX));
    g.downY = number(element.at(LabelElement::DownY));
    if (barCode)
        g.rect = rectFrom(g.anchorX, g.anchorY, g.direction, kBarLength,
                          g.barHeight * kPixelsPerMm + g.cellHeight);
    else
        g.rect = rectFrom(g.anchorX, g.anchorY, g.direction, textLength(g.name, g.cellWidth),
                          g.cellHeight);
    return g;
}

void LabelGeometry::rebuild(const std::vector<LabelElement>& elements) {
    static const LabelElement kNoRow;
    for (std::size_t i = 0; i < kEntries; ++i)
        entries_[i] = i < elements.size() ? measure(elements[i], Label::isBarCode(i))
                                          : measure(kNoRow, false);
}

std::optional<std::size_t> LabelGeometry::hit(const std::vector<LabelElement>& elements,
                                              PixelPoint point) const {
    std::optional<std::size_t> found;
    const std::size_t rows = std::min(elements.size(), kEntries);
    for (std::size_t i = 0; i < rows; ++i)
        if (elements[i].printed() && knownDirection(entries_[i].direction) &&
            entries_[i].rect.contains(point))
            found = i;
    return found;
}

std::optional<PixelPoint> LabelGeometry::anchorCorner(const PixelRect& rect, int direction) {
    switch (direction) {
    case 0:
        return PixelPoint{rect.left, rect.top};
    case 90:
        return PixelPoint{rect.left, rect.bottom};
    case 180:
        return PixelPoint{rect.right, rect.bottom};
    case 270:
        return PixelPoint{rect.right, rect.top};
    default:
        return std::nullopt;
    }
}

} // namespace korvan
