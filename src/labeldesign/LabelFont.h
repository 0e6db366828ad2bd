#pragma once
// The scale's printer fonts as label files name them. The font column picks the big font
// ("12*24") or the small one ("9*17"): any text but the big font's name prints in the small font,
// as the scale reads the element record. A big-font text's size column picks one of four sizes.
// For each the table says what the canvas draws (the character cell in pixels) and what the
// scale gets (the code byte of the element record).
#include <array>
#include <string>
#include <string_view>

namespace korvan {

struct CharacterCell {
    int width = 0;
    int height = 0;

    bool operator==(const CharacterCell&) const = default;
};

struct FontSize {
    const char* name;
    char code; // the size code byte of the element record
    CharacterCell cell;
};

class LabelFont {
public:
    static constexpr std::string_view kBig = "12*24";
    static constexpr std::string_view kSmall = "9*17";
    // The font list's choices (the bar code's digit font offers the same two).
    static constexpr std::array<const char*, 2> kNames{kBig.data(), kSmall.data()};
    static constexpr CharacterCell kBigCell{7, 15};
    static constexpr CharacterCell kSmallCell{5, 12};
    static constexpr std::array<FontSize, 4> kSizes{{
        {"12*24", '\x11', {7, 15}},
        {"12*48", '\x20', {7, 30}},
        {"24*24", '\x02', {14, 15}},
        {"24*48", '\x22', {14, 30}},
    }};

    static bool big(std::string_view font) { return font == kBig; }
    // The size the cell names; none for any other text.
    static const FontSize* size(std::string_view name);
    // The size code byte the scale gets for the cell; empty when it names no size.
    static std::string sizeCode(std::string_view name);
    // The cell a text element is drawn in: the small cell in the small font; in the big font the
    // size's cell, the big cell for a size the table does not know.
    static CharacterCell textCell(std::string_view font, std::string_view size);
    // The cell of the digits under a bar code: the font alone decides.
    static CharacterCell digitCell(std::string_view font) {
        return big(font) ? kBigCell : kSmallCell;
    }
};

} // namespace korvan
