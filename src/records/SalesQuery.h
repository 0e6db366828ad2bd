#pragma once
// The record screen's query: the Date and Name boxes, and the rows of the store they match.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "SalesRecords.h"
#include "SalesRows.h"
#include "common/Language.h"

namespace korvan {

// The rows of a store that a query matched, in store order: a view over the store, so it is valid
// while the store is neither changed nor destroyed.
class SalesSelection final : public SalesRows {
public:
    SalesSelection(const SalesRecords& records, std::vector<std::uint32_t> rows)
        : records_(&records), rows_(std::move(rows)) {}

    std::size_t size() const override { return rows_.size(); }
    std::string_view field(std::size_t row, std::size_t column) const override {
        return records_->field(rows_[row], column);
    }
    // The store's row behind a row of the selection.
    std::size_t storeRow(std::size_t row) const { return rows_[row]; }

private:
    const SalesRecords* records_;
    std::vector<std::uint32_t> rows_;
};

struct SalesQuery {
    // The date key is the first ten bytes of the transaction time. Bytes, as every length in the
    // record files is counted: the Date box takes ten bytes, and the times the scale sends are
    // ASCII ("2026-12-07 10:00:00"), so ten bytes are the ten characters of the date.
    static constexpr std::size_t kDateKeyBytes = 10;

    std::string date; // empty matches every date
    std::string name; // empty matches every name

    static std::string_view dateKey(std::string_view time) { return time.substr(0, kDateKeyBytes); }
    // Both boxes empty or equal to their key: the date byte for byte, the name with ASCII letters
    // folded ("apple" finds "Apple"); no partial match.
    bool matches(const SalesRows& rows, std::size_t row) const;
    // A date as the Date box must hold it: YYYY-MM-DD.
    static bool isDate(std::string_view date);
    static const Tr& dateFormatMessage();
    SalesSelection run(const SalesRecords& records) const;
};

} // namespace korvan
