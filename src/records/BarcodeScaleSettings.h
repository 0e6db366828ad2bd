#pragma once
// The bar code scale settings as record/tmccs.rec keeps them (code page 936 bytes, one per line),
// and the items of the lists that show them. The parameter screen shows them read-only.
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace korvan {

struct BarcodeScaleSettings {
    static constexpr std::array<std::string_view, 3> kLabelSizes = {"1=56*35", "2=40*30",
                                                                    "3=60*40"};
    static constexpr std::array<std::string_view, 7> kBarcodeTypes = {
        "0=UPC-A", "1=UPC-E", "2=EAN-13", "3=EAN-8", "4=CODE39", "5=ITF", "6=CODEBAR"};
    static constexpr std::array<std::string_view, 3> kBarcodeFormats = {
        "1=code+total", "2=code+weight", "3=code+price"};

    std::string departmentNumber;
    std::string labelSize;     // the text of the chosen item, e.g. "1=56*35"
    std::string barcodeType;   // e.g. "2=EAN-13"
    std::string barcodeFormat; // e.g. "1=code+total"

    // The item a list shows for a stored line: the first whose text begins with the line, ASCII
    // letters compared without case ("2" and "2=40*30" both give "2=40*30"). An empty line (a
    // missing file or line) or one no item begins with gives no selection, so the list comes up
    // empty rather than claiming the first item was stored.
    static std::optional<std::size_t> itemFor(std::span<const std::string_view> items,
                                              std::string_view stored);

    bool operator==(const BarcodeScaleSettings&) const = default;
};

} // namespace korvan
