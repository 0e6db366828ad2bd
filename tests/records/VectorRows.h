#pragma once
// Sales rows held in a vector, for tests of what reads the rows (printing, export).
#include <array>
#include <string>
#include <vector>

#include "records/SalesRows.h"

namespace korvan::test {

class VectorRows : public SalesRows {
public:
    using Row = std::array<std::string, kFields>;

    VectorRows() = default;
    explicit VectorRows(std::vector<Row> rows) : rows_(std::move(rows)) {}

    // `count` rows whose fields name their row, "<row>.<field>", so any row shows where it went.
    static VectorRows numbered(std::size_t count) {
        VectorRows rows;
        rows.rows_.reserve(count);
        for (std::size_t r = 0; r < count; ++r) {
            Row row;
            for (std::size_t c = 0; c < kFields; ++c)
                row[c] = std::to_string(r) + "." + std::to_string(c);
            rows.rows_.push_back(std::move(row));
        }
        return rows;
    }

    std::size_t size() const override { return rows_.size(); }
    std::string_view field(std::size_t row, std::size_t column) const override {
        return rows_.at(row).at(column);
    }

private:
    std::vector<Row> rows_;
};

} // namespace korvan::test
