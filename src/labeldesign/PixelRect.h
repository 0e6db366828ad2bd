#pragma once
// Canvas pixel coordinates: x to the right, y downwards.

namespace korvan {

struct PixelPoint {
    int x = 0;
    int y = 0;

    bool operator==(const PixelPoint&) const = default;
};

// Edges of a rectangle; a point is inside when left <= x < right and top <= y < bottom, so an
// empty rectangle holds no point.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(PixelPoint p) const {
        return left <= p.x && p.x < right && top <= p.y && p.y < bottom;
    }
    bool operator==(const PixelRect&) const = default;
};

} // namespace korvan
