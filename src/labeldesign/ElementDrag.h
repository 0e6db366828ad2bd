#pragma once
// Dragging an element on the design canvas. A ghost rectangle follows the pointer exactly; the
// element follows the ghost in whole millimetres (5-pixel steps), each edge moving by the whole
// steps between it and the ghost, so the remainder stays in the ghost and moving back and forth
// by less than a step leaves the element where it was. There is no clamping to the label.
#include <optional>

#include "PixelRect.h"

namespace korvan {

class ElementDrag {
public:
    // Starts at the element's rectangle with the pointer where the button went down.
    ElementDrag(const PixelRect& rect, int direction, PixelPoint pointer);

    // The pointer moved to `pointer` (the same coordinates as at the start).
    void moveTo(PixelPoint pointer);

    const PixelRect& rect() const { return rect_; }
    const PixelRect& ghost() const { return ghost_; }
    // The rectangle's edges in millimetres, as the read-outs show them.
    PixelRect rectMm() const;
    // The element's position in millimetres: its anchor corner. None for an unknown direction.
    std::optional<PixelPoint> positionMm() const;

private:
    PixelRect rect_;
    PixelRect ghost_;
    int direction_;
    PixelPoint last_;
};

} // namespace korvan
