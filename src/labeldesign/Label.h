#pragma once
// A label layout: the header (shop number, label size in mm) and the element rows in order. The
// row index is the element's role, so rows are never reordered.
#include <string>
#include <vector>

#include "LabelElement.h"

namespace korvan {

struct Label {
    std::string shopNumber;
    std::string width = "40";
    std::string height = "30";
    std::vector<LabelElement> elements;

    bool operator==(const Label&) const = default;
};

} // namespace korvan
