#pragma once
// A label layout: the header (shop number, label size in mm) and the element rows in order. The
// row index is the element's role, so rows are never reordered.
#include <cstddef>
#include <string>
#include <vector>

#include "LabelElement.h"

namespace korvan {

struct Label {
    // The header line: shop number, width, height.
    static constexpr std::size_t kHeaderFields = 3;
    // The element of this row is the bar code, whatever it is called: the scale prints this row
    // as bars, so the canvas draws it so and the designer offers its bar height.
    static constexpr std::size_t kBarCodeRow = 9;
    static bool isBarCode(std::size_t row) { return row == kBarCodeRow; }

    std::string shopNumber;
    std::string width = "40";
    std::string height = "30";
    std::vector<LabelElement> elements;
    // The first line (from 1) of the file read that held fewer fields than its place takes, its
    // missing fields read as empty; 0 when none did. Such a label is not sent until it has been
    // saved whole and its values hold.
    std::size_t shortLine = 0;

    bool operator==(const Label&) const = default;
};

} // namespace korvan
