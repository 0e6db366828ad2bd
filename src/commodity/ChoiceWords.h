#pragma once
// The three two-valued fields of a commodity record and the one table of their words. Each field
// is held as its value; words appear only at the edges: the fixed English word in the file, the
// current language's word on screen. The scale gets neither: the download takes the values.
#include <array>
#include <cstdint>
#include <string_view>

#include "common/Language.h"

namespace korvan {

enum class PriceChange : std::uint8_t { Yes, No }; // may the price be changed at the scale
enum class SalesMode : std::uint8_t { Weight, Quantity };
enum class Discount : std::uint8_t { Yes, No }; // may the commodity be discounted

class ChoiceWords {
public:
    // A word from the file or from a list cell (code page 936 bytes), either language; exact byte
    // comparison. Any other word reads as the second value (no, quantity, no).
    static PriceChange readPriceChange(std::string_view word);
    static SalesMode readSalesMode(std::string_view word);
    static Discount readDiscount(std::string_view word);

    // The word stored in the file: always the English word, whatever the language, so a file
    // reads the same under any language flag ("Yes"/"No", "weight"/"quantity", "Yes"/"No").
    static std::string_view fileWord(PriceChange value);
    static std::string_view fileWord(SalesMode value);
    static std::string_view fileWord(Discount value);

    // The word shown on screen (UTF-8) in the given language; English for an unknown flag.
    static std::string_view displayText(PriceChange value, Lang lang = Language::current());
    static std::string_view displayText(SalesMode value, Lang lang = Language::current());
    static std::string_view displayText(Discount value, Lang lang = Language::current());
    // The same word in code page 936, as a list cell that holds bytes shows it.
    static std::string_view displayBytes(PriceChange value, Lang lang = Language::current());
    static std::string_view displayBytes(SalesMode value, Lang lang = Language::current());
    static std::string_view displayBytes(Discount value, Lang lang = Language::current());

    // The two values in the order a sorted drop-down list shows their display words (byte order
    // of the words as stored in code page 936).
    static std::array<PriceChange, 2> priceChangeItems(Lang lang = Language::current());
    static std::array<SalesMode, 2> salesModeItems(Lang lang = Language::current());
    static std::array<Discount, 2> discountItems(Lang lang = Language::current());
};

} // namespace korvan
