#pragma once
// Where each element of a label lies on the design canvas. The canvas draws 5 pixels per
// millimetre with the label's top-left corner at pixel (25, 25); each element gets the cell size
// of its font and a bounding rectangle whose anchor corner (given by the print direction) is its
// position. The table has 50 entries, one per possible element row.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LabelElement.h"
#include "LabelFont.h"
#include "PixelRect.h"

namespace korvan {

// One entry of the table, rebuilt from its row.
struct ElementGeometry {
    std::string name;
    bool barCode = false;
    int direction = 0;
    int cellWidth = 0;
    int cellHeight = 0;
    int barHeight = 0; // mm, bar code element only
    int anchorX = 0;
    int anchorY = 0;
    int downX = 0;
    int downY = 0;
    PixelRect rect;
};

class LabelGeometry {
public:
    static constexpr std::size_t kEntries = 50;
    static constexpr int kPixelsPerMm = 5;
    static constexpr int kMargin = 25;          // rulers; the label starts here
    static constexpr int kLabelAreaWidth = 240; // 48 mm, whatever the label width
    static constexpr int kBarLength = 125;      // 25 mm of bars

    // Fills every entry from the row of the same index; entries past the rows get empty texts.
    void rebuild(const std::vector<LabelElement>& elements);

    const ElementGeometry& entry(std::size_t index) const { return entries_.at(index); }
    // The rectangle moves while an element is dragged; the next rebuild puts it back at the
    // row's position.
    void setRect(std::size_t index, const PixelRect& rect) { entries_.at(index).rect = rect; }

    // The printed row (state "TRUE") whose rectangle holds the point; with overlapping elements
    // the later row wins, as it is drawn on top. Only rows 0 to 49 can be picked.
    std::optional<std::size_t> hit(const std::vector<LabelElement>& elements,
                                   PixelPoint point) const;

    // The geometry of one row (`barCode`: the row holds the bar code). An unknown direction gives
    // no rectangle (all zero), so the element is neither drawn nor picked.
    static ElementGeometry measure(const LabelElement& element, bool barCode);
    // The corner where the text or bars start: 0 (left, top), 90 (left, bottom), 180 (right,
    // bottom), 270 (right, top); none for any other direction.
    static std::optional<PixelPoint> anchorCorner(const PixelRect& rect, int direction);
    static bool knownDirection(int direction);
    // A name's characters as the canvas draws them, one cell per byte: a byte above 0x80 with a
    // byte after it is one two-byte (two-cell) character, any other byte a character of its own.
    static std::vector<std::string> characters(std::string_view name);

    // A number column as the geometry reads it: leading digits, anything else 0. Held well inside
    // 32 bits so the pixel arithmetic never overflows.
    static int number(const std::string& text);
    static int pixelFromMm(int mm) { return mm * kPixelsPerMm + kMargin; }
    // Truncates toward zero, as the drag read-outs do.
    static int mmFromPixel(int pixel) { return pixel / kPixelsPerMm - kMargin / kPixelsPerMm; }

private:
    std::array<ElementGeometry, kEntries> entries_{};
};

} // namespace korvan
