#include "ElementDrag.h"

#include "LabelGeometry.h"

namespace korvan {

namespace {

// Moves `edge` toward `ghost` by the whole steps between them (the division truncates toward
// zero, so a remainder in either direction is left over).
int snap(int edge, int ghost) {
    constexpr int step = LabelGeometry::kPixelsPerMm;
    return edge + (ghost - edge) / step * step;
}

} // namespace

ElementDrag::ElementDrag(const PixelRect& rect, int direction, PixelPoint pointer)
    : rect_(rect), ghost_(rect), direction_(direction), last_(pointer) {}

void ElementDrag::moveTo(PixelPoint pointer) {
    const int dx = pointer.x - last_.x;
    const int dy = pointer.y - last_.y;
    last_ = pointer;
    ghost_ = {ghost_.left + dx, ghost_.top + dy, ghost_.right + dx, ghost_.bottom + dy};
    rect_ = {snap(rect_.left, ghost_.left), snap(rect_.top, ghost_.top),
             snap(rect_.right, ghost_.right), snap(rect_.bottom, ghost_.bottom)};
}

PixelRect ElementDrag::rectMm() const {
    return {LabelGeometry::mmFromPixel(rect_.left), LabelGeometry::mmFromPixel(rect_.top),
            LabelGeometry::mmFromPixel(rect_.right), LabelGeometry::mmFromPixel(rect_.bottom)};
}

std::optional<PixelPoint> ElementDrag::positionMm() const {
    const PixelRect mm = rectMm();
    return LabelGeometry::anchorCorner(mm, direction_);
}

} // namespace korvan
