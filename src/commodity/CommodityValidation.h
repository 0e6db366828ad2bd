#pragma once
// The checks a record passes before the commodity editor puts it into the list, in the order
// they are applied; the first failing check stops the operation with its message.
#include <cstddef>
#include <optional>

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
};

} // namespace korvan
