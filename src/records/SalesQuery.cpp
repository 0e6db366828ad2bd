#include "SalesQuery.h"

#include "common/Text.h"

namespace korvan {

bool SalesQuery::matches(const SalesRows& rows, std::size_t row) const {
    return (date.empty() || dateKey(rows.field(row, 0)) == date) &&
           (name.empty() || Text::sameIgnoringAsciiCase(rows.field(row, 1), name));
}

SalesSelection SalesQuery::run(const SalesRecords& records) const {
    std::vector<std::uint32_t> rows;
    const std::size_t size = records.size();
    if (date.empty() && name.empty())
        rows.reserve(size);
    for (std::size_t row = 0; row < size; ++row) {
        // Through the store itself rather than the row interface: no virtual call per row.
        if ((date.empty() || dateKey(records.field(row, 0)) == date) &&
            (name.empty() || Text::sameIgnoringAsciiCase(records.field(row, 1), name)))
            rows.push_back(static_cast<std::uint32_t>(row));
    }
    return SalesSelection(records, std::move(rows));
}

bool SalesQuery::isDate(std::string_view date) {
    if (date.size() != kDateKeyBytes)
        return false;
    for (std::size_t i = 0; i < date.size(); ++i) {
        const bool dash = i == 4 || i == 7;
        if (dash ? date[i] != '-' : (date[i] < '0' || date[i] > '9'))
            return false;
    }
    return true;
}

const Tr& SalesQuery::dateFormatMessage() {
    static constexpr Tr kText{"日期请按 YYYY-MM-DD 填写, 例如 2026-12-07",
                              "Write the date as YYYY-MM-DD, for example 2026-12-07"};
    return kText;
}

} // namespace korvan
