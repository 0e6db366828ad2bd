#pragma once
// The checks a record passes before the commodity editor puts it into the list, in the order
// they are applied; the first failing check stops the operation with its message.
#include <cstddef>
#include <optional>
#include <string_view>

#include "CommodityForm.h"
#include "common/Language.h"

namespace korvan {

enum class CommodityCheck {
    TooManyRows, // adding only: the list already holds the most records it may
    NameEmpty,
    CodeEmpty,
    UnitPriceEmpty,
    PriceChangeEmpty, // no item selected
    SalesModeEmpty,
    TareEmpty,
    ShelfLifeEmpty,
    DiscountEmpty,
    DiscountRateEmpty,
    DescriptionEmpty,
    DescriptionTooHigh, // adding only: the description number's value is above the highest one
    // The numbers the scale computes with, once every field is filled in: see NumberRule.
    UnitPriceNotNumber,
    TareNotNumber,
    ShelfLifeNotNumber,
    DiscountRateNotNumber,
};

// What a number field may hold. No sign: a price, a tare, a shelf life or a discount rate below
// zero means nothing to the scale. No blanks, no exponent, no thousands separator.
enum class NumberRule {
    Decimal, // digits with at most one decimal point ("5", "5.00", ".5", "5.")
    Whole,   // digits only
};

class CommodityValidation {
public:
    static constexpr std::size_t kMaxRows = 2000;
    static constexpr long kMaxDescriptionNumber = 32;

    enum class Mode { Updating, Adding };

    // The first check the form fails, or none. `rowCount` is the number of list rows before the
    // record is added. "Empty" means zero bytes; blanks are text.
    static std::optional<CommodityCheck> firstFailure(const CommodityForm& form, Mode mode,
                                                      std::size_t rowCount);

    // The operator message of a check, both languages.
    static const Tr& message(CommodityCheck check);

    // The field a check is about; none for the row limit, which comes before every field.
    static std::optional<CommodityField> fieldOf(CommodityCheck check);

    // Whether a text follows the rule (an empty text does not).
    static bool isNumber(std::string_view text, NumberRule rule);
    // The number check of a field, or none for a field that is not a number: unit price, tare and
    // discount rate are decimal, the shelf life whole days. (The description number keeps its own
    // rule: it is read by its leading digits.)
    static std::optional<CommodityCheck> numberCheck(CommodityField field);
    // The number check a field's text fails, or none.
    static std::optional<CommodityCheck> numberFailure(CommodityField field, std::string_view text);
};

} // namespace korvan
