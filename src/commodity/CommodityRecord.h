#pragma once
// One commodity (PLU): ten fields in a fixed order. Text fields hold the bytes as typed or as
// read (code page 936, never converted, so a record read and written unchanged gives back the same
// bytes); the three choice fields hold their values.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ChoiceWords.h"
#include "link/JobRequest.h"

namespace korvan {

// The fields in record order; the value is the field's position in a file line, its column in
// the list and its cell in a download row.
enum class CommodityField : std::size_t {
    Name,
    Code,
    UnitPrice,
    PriceChange,
    SalesMode,
    Tare,
    ShelfLife,
    Discount,
    DiscountRate,
    DescriptionNumber,
};

struct CommodityRecord {
    static constexpr std::size_t kFieldCount = 10;

    std::string name;
    std::string code;
    std::string unitPrice;
    PriceChange priceChange = PriceChange::No;
    SalesMode salesMode = SalesMode::Quantity;
    std::string tare;
    std::string shelfLife;
    Discount discount = Discount::No;
    std::string discountRate;
    std::string descriptionNumber;

    // What a new record starts with: empty name, code and unit price; price change yes, sales
    // mode weight, discount no; "0" in the four other text fields. (A default-constructed record
    // is all empty, with its choices as an empty word reads: no, quantity, no.)
    static CommodityRecord newRecord();

    // A file line: ten fields at the first nine form feeds; the last field runs to the end of the
    // line, further form feeds included. Missing fields are empty.
    static CommodityRecord fromLine(std::string_view line);
    // The file line: nine form feeds, the choices as their file words, no line end.
    std::string toLine() const;

    // One field as text: text fields as they are, choices as their file words. Code page 936.
    std::string cell(CommodityField field) const;
    // One field for the screen (UTF-8): text fields decoded (bytes that are not valid GBK show as
    // U+FFFD), choices as the display word of `lang`.
    std::string displayText(CommodityField field, Lang lang = Language::current()) const;
    // One field as a list cell holds it (code page 936): text fields as they are, choices as the
    // display word of `lang`.
    std::string listCell(CommodityField field, Lang lang = Language::current()) const;

    // The record as the commodity download sends it: texts as stored, choices as values.
    CommodityRow downloadRow() const;

    // The longest input of each field in code page 936 bytes (one Chinese character counts two);
    // 0 for the choice fields, which are picked, not typed.
    static std::size_t maxBytes(CommodityField field);
    static bool isChoice(CommodityField field);
    // Whether the UTF-8 text typed into the field's box can be stored: it can be written in code
    // page 936 and fits the field's byte limit.
    static bool fitsInput(CommodityField field, std::string_view utf8);

    bool operator==(const CommodityRecord&) const = default;
};

} // namespace korvan
