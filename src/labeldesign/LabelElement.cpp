#include "LabelElement.h"

namespace korvan {

void LabelElement::setPosition(long xMm, long yMm) {
    columns_[XPos] = columns_[DownX] = std::to_string(xMm);
    columns_[YPos] = columns_[DownY] = std::to_string(yMm);
}

} // namespace korvan
