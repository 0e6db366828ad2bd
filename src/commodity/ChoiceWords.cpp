#include "ChoiceWords.h"

namespace korvan {
namespace {

// The words of one value: as stored in the file, and as shown in Chinese (in code page 936 for
// reading cells, in UTF-8 for the screen) and in English.
struct Words {
    std::string_view file;
    std::string_view zhGbk;
    std::string_view zhUtf8;
    std::string_view en;
};

// Index 0 is the first value of each enum, index 1 the second.
constexpr Words kPriceChange[2] = {
    {"Yes", "\xBF\xC9\xB1\xE4\xBC\xDB", "可变价", "Yes"},
    {"No", "\xB2\xBB\xB1\xE4\xBC\xDB", "不变价", "No"},
};
constexpr Words kSalesMode[2] = {
    {"weight", "\xB3\xC6\xD6\xD8", "称重", "weight"},
    {"quantity", "\xCA\xFD\xC1\xBF", "数量", "quantity"},
};
constexpr Words kDiscount[2] = {
    {"Yes", "\xBF\xC9\xB4\xF2\xD5\xDB", "可打折", "Yes"},
    {"No", "\xB2\xBB\xB4\xF2\xD5\xDB", "不打折", "No"},
};

template <typename E> constexpr std::size_t index(E value) {
    return static_cast<std::size_t>(value);
}

// The first value when the word is its file word or its Chinese word, otherwise the second.
template <typename E> E read(const Words (&table)[2], std::string_view word) {
    const Words& first = table[0];
    return word == first.en || word == first.zhGbk ? E{0} : E{1};
}

std::string_view display(const Words& words, Lang lang) {
    return lang == Lang::Chinese ? words.zhUtf8 : words.en;
}

std::string_view displayGbk(const Words& words, Lang lang) {
    return lang == Lang::Chinese ? words.zhGbk : words.en;
}

template <typename E> std::array<E, 2> sorted(const Words (&table)[2], Lang lang) {
    auto key = [&](std::size_t i) { return displayGbk(table[i], lang); };
    if (key(1) < key(0))
        return {E{1}, E{0}};
    return {E{0}, E{1}};
}

} // namespace

PriceChange ChoiceWords::readPriceChange(std::string_view word) {
    return read<PriceChange>(kPriceChange, word);
}
SalesMode ChoiceWords::readSalesMode(std::string_view word) {
    return read<SalesMode>(kSalesMode, word);
}
Discount ChoiceWords::readDiscount(std::string_view word) {
    return read<Discount>(kDiscount, word);
}

std::string_view ChoiceWords::fileWord(PriceChange value) {
    return kPriceChange[index(value)].file;
}
std::string_view ChoiceWords::fileWord(SalesMode value) {
    return kSalesMode[index(value)].file;
}
std::string_view ChoiceWords::fileWord(Discount value) {
    return kDiscount[index(value)].file;
}

std::string_view ChoiceWords::displayText(PriceChange value, Lang lang) {
    return display(kPriceChange[index(value)], lang);
}
std::string_view ChoiceWords::displayText(SalesMode value, Lang lang) {
    return display(kSalesMode[index(value)], lang);
}
std::string_view ChoiceWords::displayText(Discount value, Lang lang) {
    return display(kDiscount[index(value)], lang);
}

std::string_view ChoiceWords::displayBytes(PriceChange value, Lang lang) {
    return displayGbk(kPriceChange[index(value)], lang);
}
std::string_view ChoiceWords::displayBytes(SalesMode value, Lang lang) {
    return displayGbk(kSalesMode[index(value)], lang);
}
std::string_view ChoiceWords::displayBytes(Discount value, Lang lang) {
    return displayGbk(kDiscount[index(value)], lang);
}

std::array<PriceChange, 2> ChoiceWords::priceChangeItems(Lang lang) {
    return sorted<PriceChange>(kPriceChange, lang);
}
std::array<SalesMode, 2> ChoiceWords::salesModeItems(Lang lang) {
    return sorted<SalesMode>(kSalesMode, lang);
}
std::array<Discount, 2> ChoiceWords::discountItems(Lang lang) {
    return sorted<Discount>(kDiscount, lang);
}

} // namespace korvan
