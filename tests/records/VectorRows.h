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

    explicit VectorRows(std::vector<Row> rows = {}) : rows_(std::move(rows)) {}
    // `count` rows whose fields name their place, "<row>.<field>".
    static VectorRows numbered(std::size_t count) {
        VectorRows rows;
        for (std::size_t r = 0; r < count; ++r) {
            rows.rows_.emplace_back();
            for (std::size_t c = 0; c < kFields; ++c)
                rows.rows_.back()[c] = std::to_string(r) + "." + std::to_string(c);
        }
        return rows;
    }
    void set(std::size_t row, std::size_t column, std::string text) {
        rows_.at(row).at(column) = std::move(text);
    }

    std::size_t size() const override { return rows_.size(); }
    std::string_view field(std::size_t row, std::size_t column) const override {
        return rows_.at(row).at(column);
    }

private:
    std::vector<Row> rows_;
};

} // namespace korvan::test
