#include "LabelDesign.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include "LabelCheck.h"
#include "LabelDownload.h"
#include "LabelFile.h"
#include "LabelFileChoice.h"
#include "LabelFont.h"
#include "common/Prompt.h"

namespace korvan {

namespace {

// Read the same in both languages: shops know these texts.
const char* const kSaveCompleted = "Save completed";
const char* const kSaveFirst = "Please save the data first!";
const Tr kGiveUpChanges{"标签的修改尚未保存，打开其他文件将放弃这些修改。继续吗？",
                        "The label has changes that are not saved; opening another file gives "
                        "them up. Go on?"};

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

LabelDesign::LabelDesign(const std::filesystem::path& file) : file_(file) {
    openFailure_ = read(file);
    geometry_.rebuild(label_.elements);
}

LabelDesign LabelDesign::open(const DataDir& dir, std::string_view languageFlag, Lang lang) {
    const LabelFileChoice::Checked chosen = LabelFileChoice::checked(dir, {}, languageFlag, lang);
    LabelDesign design;
    if (!chosen.problem.empty()) {
        design.openProblem_ = chosen.problem;
        return design;
    }
    design = LabelDesign(chosen.file);
    if (!design.openFailure_)
        design.openProblem_ = design.openFailure_.message();
    return design;
}

IoResult LabelDesign::read(const std::filesystem::path& file) {
    TrackedFile tracked(file);
    Loaded<Label> loaded = LabelFile::load(tracked);
    if (!loaded.ok())
        return loaded.result;
    file_ = std::move(tracked);
    openFailure_ = {};
    openProblem_.clear();
    label_ = std::move(loaded.value);
    selected_.reset();
    geometry_.rebuild(label_.elements);
    modified_ = false;
    return loaded.result;
}

bool LabelDesign::open(const std::filesystem::path& file, Lang lang) {
    if (const std::string problem = LabelCheck::fileProblem(file, lang); !problem.empty()) {
        Prompt::showMessage(problem);
        return false;
    }
    if (modified_ && !Prompt::ask(kGiveUpChanges.get(lang)))
        return false;
    if (const IoResult result = read(file); !result) {
        Prompt::showMessage(result.message());
        return false;
    }
    // Not yet written where the designer saves, as far as the operator knows: a Download waits
    // for a Save.
    modified_ = true;
    return true;
}

ElementPanel LabelDesign::select(std::size_t row) {
    if (row < std::min(label_.elements.size(), LabelGeometry::kEntries) &&
        label_.elements[row].printed())
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
    if (Label::isBarCode(row)) {
        panel.digitalFont = element.at(LabelElement::Font);
        panel.codeHeight = std::to_string(g.barHeight);
        panel.codeHeightEnabled = true;
    } else {
        panel.font = element.at(LabelElement::Font);
        panel.fontSize = element.at(LabelElement::Size);
        panel.nameEnabled = !fixedName(row);
        panel.fontSizeEnabled = LabelFont::big(element.at(LabelElement::Font));
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

LabelDesign::Saved LabelDesign::save(Lang lang) {
    if (file_.path().empty()) {
        Prompt::showMessage(LabelFileChoice::nothingNamed(lang));
        return Saved::No;
    }
    // A file that is there but could not be read holds a label nobody has seen here.
    if (!openFailure_ && openFailure_.error != ENOENT) {
        Prompt::showMessage(openFailure_.message());
        return Saved::No;
    }
    if (const std::string problem = LabelCheck::sizeProblem(label_, lang); !problem.empty()) {
        Prompt::showMessage(problem);
        return Saved::No;
    }
    const TrackedFile::Saved saved = file_.saveLines(LabelFile::lines(label_), lang);
    if (saved.reload) {
        if (IoResult result = read(file_.path()); !result) {
            Prompt::showMessage(result.message());
            return Saved::No;
        }
        return Saved::Reloaded;
    }
    if (!saved.result) {
        Prompt::showMessage(saved.result.message());
        return Saved::No;
    }
    if (!saved.written)
        return Saved::No;
    modified_ = false;
    openFailure_ = {};
    openProblem_.clear();
    label_.shortLine = 0; // every line is written whole
    Prompt::showMessage(kSaveCompleted);
    return Saved::Written;
}

std::string LabelDesign::downloadRefusal(Lang lang) const {
    if (modified_)
        return kSaveFirst;
    if (!openProblem_.empty())
        return openProblem_;
    return LabelCheck::downloadProblem(label_, lang);
}

JobRequest LabelDesign::downloadRequest() const {
    return LabelDownload::request(label_);
}

} // namespace korvan
