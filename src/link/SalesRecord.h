#pragma once
// One sales record read back from the scale: five texts (GBK), trimmed of white space.
#include <array>
#include <string>

namespace korvan {

struct SalesRecord {
    // The record list row it goes into (the list's row count when the job started, then on).
    long row = 0;
    // Transaction time, commodity name, net weight or quantity, unit price, total amount.
    std::array<std::string, 5> fields;

    bool operator==(const SalesRecord&) const = default;
};

} // namespace korvan
