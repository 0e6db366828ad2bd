#pragma once
// A summary's groups as rows of five fields (GBK), for the page output of the record list: the
// key, the sales, the quantity, the amount and the share, as the summary's tables show them.
#include <array>
#include <string>
#include <vector>

#include "SalesRows.h"
#include "SalesSummary.h"

namespace korvan {

class SalesSummaryRows final : public SalesRows {
public:
    SalesSummaryRows(const SalesSummary& summary, Lang lang);

    std::size_t size() const override { return rows_.size(); }
    std::string_view field(std::size_t row, std::size_t column) const override {
        return rows_[row][column];
    }
    // The captions of the five columns (UTF-8), as pages print them.
    static std::array<std::string, kFields> captions(const SalesSummary& summary, Lang lang);

private:
    std::vector<std::array<std::string, kFields>> rows_;
};

} // namespace korvan
