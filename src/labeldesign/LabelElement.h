#pragma once
// One element row of a label layout: ten text columns, in the order the label file stores them.
// Every value stays text; numbers are read where they are used.
#include <array>
#include <cstddef>
#include <string>

namespace korvan {

class LabelElement {
public:
    enum Column : std::size_t {
        Name,
        Explain,
        Direction,
        Font,
        Size,
        XPos,
        YPos,
        State,
        DownX,
        DownY,
    };
    static constexpr std::size_t kColumns = 10;

    LabelElement() = default;
    explicit LabelElement(std::array<std::string, kColumns> columns)
        : columns_(std::move(columns)) {}

    const std::string& at(Column column) const { return columns_[column]; }
    std::string& at(Column column) { return columns_[column]; }
    const std::array<std::string, kColumns>& columns() const { return columns_; }

    const std::string& name() const { return columns_[Name]; }
    // Printed, drawn and pickable only when the state is exactly "TRUE".
    bool printed() const { return columns_[State] == "TRUE"; }
    // The list's check box: ticked unless the state is "FALSE" or empty.
    bool ticked() const { return !columns_[State].empty() && columns_[State] != "FALSE"; }
    // Ticking or clearing the check box writes exactly "TRUE" or "FALSE".
    void setTicked(bool ticked) { columns_[State] = ticked ? "TRUE" : "FALSE"; }
    // Moves the element: X.pos/Y.pos and the download position stay equal.
    void setPosition(long xMm, long yMm);

    // The scale leaves the element out only when the state is exactly "FALSE".
    bool hiddenOnScale() const { return columns_[State] == "FALSE"; }

    bool operator==(const LabelElement&) const = default;

private:
    std::array<std::string, kColumns> columns_{};
};

} // namespace korvan
