#include "SalesQuery.h"

namespace korvan {

bool SalesQuery::matches(const SalesRows& rows, std::size_t row) const {
    return (date.empty() || dateKey(rows.field(row, 0)) == date) &&
           (name.empty() || rows.field(row, 1) == name);
}

SalesSelection SalesQuery::run(const SalesRecords& records) const {
    std::vector<std::uint32_t> rows;
    const std::size_t size = records.size();
    if (date.empty() && name.empty())
        rows.reserve(size);
    for (std::size_t row = 0; row < size; ++row) {
        // Through the store itself rather than the row interface: no virtual call per row.
        if ((date.empty() || dateKey(records.field(row, 0)) == date) &&
            (name.empty() || records.field(row, 1) == name))
            rows.push_back(static_cast<std::uint32_t>(row));
    }
    return SalesSelection(records, std::move(rows));
}

} // namespace korvan
