#pragma once
// Sales records as printing and export read them: rows of the five fields (GBK bytes), in list
// order. The record store and a query's result both offer this view, so a page or a workbook is
// made from whichever the screen shows, without copying the records.
#include <cstddef>
#include <string_view>

namespace korvan {

class SalesRows {
public:
    // Transaction time, commodity name, net weight or quantity, unit price, amount.
    static constexpr std::size_t kFields = 5;

    virtual ~SalesRows() = default;
    virtual std::size_t size() const = 0;
    // The field's bytes; valid until the rows change.
    virtual std::string_view field(std::size_t row, std::size_t column) const = 0;
};

} // namespace korvan
