#include "LabelDesign.h"

#include <algorithm>
#include <array>

#include "LabelFile.h"

namespace korvan {

namespace {

// Positions are whole millimetres: a box left empty or holding just a sign is 0, never a text the
// scale cannot read. The scale prints where Down.X/Down.Y say: they always follow the position.
void writePosition(LabelElement& element, const std::string& xPos, const std::string& yPos) {
    element.setPosition(LabelGeometry::number(xPos), LabelGeometry::number(yPos));
}

} // namespace

bool LabelDesign::fixedName(std::size_t row) {
    static constexpr std::array<std::size_t, 12> kRows{1, 2, 6, 7, 8, 9, 11, 12, 16, 19, 21, 23};
    return std::find(kRows.begin(), kRows.end(), row) != kRows.end();
}

LabelDesign::LabelDesign(Label label) : label_(std::move(label)) {
    geometry_.rebuild(label_.elements);
}

ElementPanel LabelDesign::select(std::size_t row) {
    if (row < std::min(label_.elements.size(), LabelGeometry::kEntries))
        selected_ = row;
    else
        selected_.reset();
    return panel();
}

ElementPanel LabelDesign::panel() const {
    ElementPanel panel;
    if (!selected_)
        return panel;
    const std::size_t row = *selected_;
    const LabelElement& element = label_.elements[row];
    const ElementGeometry& g = geometry_.entry(row);
    const PixelPoint anchor = anchorMm();
    panel.name = element.name();
    panel.direction = std::to_string(g.direction);
    panel.xPos = std::to_string(anchor.x);
    panel.yPos = std::to_string(anchor.y);
    panel.directionEnabled = true;
    panel.positionEnabled = true;
    if (row == kBarCodeRow) {
        panel.digitalFont = element.at(LabelElement::Font);
        panel.codeHeight = std::to_string(g.barHeight);
        panel.codeHeightEnabled = true;
    } else {
        panel.font = element.at(LabelElement::Font);
        panel.fontSize = element.at(LabelElement::Size);
        panel.nameEnabled = !fixedName(row);
        panel.fontSizeEnabled = element.at(LabelElement::Font) != "9*17";
    }
    return panel;
}

PixelRect LabelDesign::rectMm() const {
    if (!selected_)
        return {};
    const PixelRect& r = geometry_.entry(*selected_).rect;
    return {LabelGeometry::mmFromPixel(r.left), LabelGeometry::mmFromPixel(r.top),
            LabelGeometry::mmFromPixel(r.right), LabelGeometry::mmFromPixel(r.bottom)};
}

PixelPoint LabelDesign::anchorMm() const {
    if (!selected_)
        return {};
    const ElementGeometry& g = geometry_.entry(*selected_);
    if (const auto corner = LabelGeometry::anchorCorner(g.rect, g.direction))
        return {LabelGeometry::mmFromPixel(corner->x), LabelGeometry::mmFromPixel(corner->y)};
    // An element in an unknown direction has no rectangle; its position is still its own.
    const LabelElement& element = label_.elements[*selected_];
    return {LabelGeometry::number(element.at(LabelElement::XPos)),
            LabelGeometry::number(element.at(LabelElement::YPos))};
}

LabelElement* LabelDesign::selectedElement() {
    return selected_ ? &label_.elements[*selected_] : nullptr;
}

void LabelDesign::changed() {
    geometry_.rebuild(label_.elements);
    modified_ = true;
}

void LabelDesign::setDirection(const std::string& direction, const std::string& xPos,
                               const std::string& yPos) {
    if (LabelElement* element = selectedElement()) {
        element->at(LabelElement::Direction) = direction;
        writePosition(*element, xPos, yPos);
        changed();
    }
}

void LabelDesign::setSize(const std::string& size) {
    if (LabelElement* element = selectedElement()) {
        element->at(LabelElement::Size) = size;
        changed();
    }
}

void LabelDesign::setName(const std::string& name) {
    if (LabelElement* element = selectedElement()) {
        element->at(LabelElement::Name) = name;
        // The rectangle follows the name at once, so picking and the read-outs fit what is drawn.
        changed();
    }
}

void LabelDesign::setShopNumber(const std::string& shopNumber) {
    label_.shopNumber = shopNumber;
    modified_ = true;
}

void LabelDesign::setHeight(const std::string& height) {
    label_.height = height;
    modified_ = true;
}

void LabelDesign::applyPosition(const std::string& xPos, const std::string& yPos) {
    if (LabelElement* element = selectedElement()) {
        writePosition(*element, xPos, yPos);
        changed();
    }
}

bool LabelDesign::setTicked(std::size_t row, bool ticked) {
    if (row >= label_.elements.size())
        return false;
    label_.elements[row].setTicked(ticked);
    changed();
    if (!ticked && selected_ == row) {
        selected_.reset();
        return true;
    }
    return false;
}

void LabelDesign::finishDrag(std::size_t row, int xMm, int yMm) {
    if (row >= label_.elements.size())
        return;
    // A click that picks an element without moving it changes nothing.
    LabelElement& element = label_.elements[row];
    const LabelElement before = element;
    element.setPosition(xMm, yMm);
    geometry_.rebuild(label_.elements);
    modified_ = modified_ || element != before;
}

IoResult LabelDesign::save(const std::filesystem::path& file) {
    IoResult result = LabelFile::save(file, label_);
    if (result.ok()) {
        modified_ = false;
        label_.shortLine = 0; // every line is written whole
    }
    return result;
}

IoResult LabelDesign::reload(const std::filesystem::path& file) {
    IoResult result = LabelFile::reload(file, label_);
    if (!result.ok())
        return result;
    selected_.reset();
    changed();
    return result;
}

} // namespace korvan
