#pragma once
// What the design canvas paints besides the characters' shapes, in canvas pixels: the rulers, the
// label area and the sample bar code. The canvas widget fills these rectangles and draws each
// character in its cell where these say; it works out no position of its own.
#include <string>
#include <vector>

#include "LabelGeometry.h"
#include "PixelRect.h"

namespace korvan {

class CanvasPicture {
public:
    enum class Ink { Background, RulerBand, RulerInk, Black, White };
    struct Fill {
        PixelRect rect;
        Ink ink;

        bool operator==(const Fill&) const = default;
    };
    // A text whose top-left corner (before any turn) is `at`.
    struct Text {
        PixelPoint at;
        std::string text;

        bool operator==(const Text&) const = default;
    };
    struct Picture {
        std::vector<Fill> fills;
        std::vector<Text> texts;
    };

    // The background and both rulers of a canvas `width` x `height` pixels: a tick each
    // millimetre, longer ones each 5 and 10, a figure each 10 (ruler ink; the figures 12 pixels
    // high).
    static Picture rulers(int width, int height);
    // The white label area, 48 mm wide and as high as the label, with its black border.
    static std::vector<Fill> labelArea(int heightMm);
    // The sample bar code of a bar code element: one rectangle per bar (the ink is the element's
    // colour) and one digit per cell under the bars, each in a cell the element's digit cell
    // size, turned by its direction about `at`. Nothing for an unknown direction.
    static Picture barCode(const ElementGeometry& geometry);
};

} // namespace korvan
