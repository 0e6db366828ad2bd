#include "LabelElement.h"

namespace korvan {

namespace {
constexpr std::string_view kBarCodeEnglish = "Code";
constexpr std::string_view kBarCodeChinese = "\xCC\xF5\xC2\xEB"; // 条码 in GB2312
} // namespace

void LabelElement::setPosition(long xMm, long yMm) {
    columns_[XPos] = columns_[DownX] = std::to_string(xMm);
    columns_[YPos] = columns_[DownY] = std::to_string(yMm);
}

bool LabelElement::isBarCodeName(std::string_view name) {
    return name == kBarCodeEnglish || name == kBarCodeChinese;
}

} // namespace korvan
