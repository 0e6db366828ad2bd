#include "CanvasPicture.h"

#include <array>

namespace korvan {

namespace {

constexpr int kMargin = LabelGeometry::kMargin;

// The sample bar code every bar code element shows: a start pattern, then the left-hand
// (number set A) codes of 0 to 9 and of 0 to 5 again, 122 modules in all, and the digits printed
// under them.
const std::string& sampleModules() {
    static const std::string modules = [] {
        static const char* const setA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                             "0110001", "0101111", "0111011", "0110111", "0001011"};
        std::string bits = "1010011101";
        for (int d = 0; d < 10; ++d)
            bits += setA[d];
        for (int d = 0; d < 6; ++d)
            bits += setA[d];
        return bits;
    }();
    return modules;
}
constexpr std::string_view kSampleDigits = "0 123456 789012";
constexpr int kDigitPitch = 8;

// Adds the rectangle of `width` x `height` pixels at (x, y); an empty one paints nothing.
void add(std::vector<CanvasPicture::Fill>& fills, int x, int y, int width, int height,
         CanvasPicture::Ink ink) {
    if (width > 0 && height > 0)
        fills.push_back({{x, y, x + width, y + height}, ink});
}

} // namespace

CanvasPicture::Picture CanvasPicture::rulers(int w, int h) {
    Picture picture;
    auto& f = picture.fills;
    add(f, 0, 0, w, h, Ink::Background);
    add(f, kMargin, 1, w - 26, 24, Ink::RulerBand);
    add(f, kMargin, kMargin, w - 26, 1, Ink::RulerInk);
    for (int k = 0; 5 * k < w - 35; ++k) {
        add(f, kMargin + 5 * k, 20, 1, 5, Ink::RulerInk);
        if (k % 5 == 0)
            add(f, kMargin + 5 * k, 15, 1, 10, Ink::RulerInk);
        if (k % 10 == 0)
            add(f, kMargin + 5 * k, 5, 1, 20, Ink::RulerInk);
    }
    for (int k = 0; 50 * k < w - 81; ++k)
        picture.texts.push_back({{27 + 50 * k, 3}, std::to_string(k * 10)});

    add(f, 1, kMargin, 24, h - 26, Ink::RulerBand);
    add(f, kMargin, kMargin, 1, h - 26, Ink::RulerInk);
    for (int k = 0; 5 * k < h - 31; ++k) {
        add(f, 20, kMargin + 5 * k, 5, 1, Ink::RulerInk);
        if (k % 5 == 0)
            add(f, 15, kMargin + 5 * k, 10, 1, Ink::RulerInk);
        if (k % 10 == 0)
            add(f, 5, kMargin + 5 * k, 20, 1, Ink::RulerInk);
    }
    for (int k = 0; 50 * k < h - 51; ++k)
        picture.texts.push_back({{3, 27 + 50 * k}, std::to_string(k * 10)});
    return picture;
}

std::vector<CanvasPicture::Fill> CanvasPicture::labelArea(int heightMm) {
    const int w = LabelGeometry::kLabelAreaWidth;
    const int h = heightMm * LabelGeometry::kPixelsPerMm;
    std::vector<Fill> fills;
    add(fills, kMargin, kMargin, w, h, Ink::White);
    add(fills, kMargin, kMargin, w + 1, 1, Ink::Black);
    add(fills, kMargin, kMargin + h, w + 1, 1, Ink::Black);
    add(fills, kMargin, kMargin, 1, h + 1, Ink::Black);
    add(fills, kMargin + w, kMargin, 1, h + 1, Ink::Black);
    return fills;
}

namespace {

// One rectangle per dark module, across the bars' part of the element's rectangle.
void addBars(std::vector<CanvasPicture::Fill>& f, const ElementGeometry& g) {
    const PixelRect& r = g.rect;
    const int ch = g.cellHeight;
    const std::string& modules = sampleModules();
    for (int i = 0; i < static_cast<int>(modules.size()); ++i) {
        if (modules[static_cast<std::size_t>(i)] != '1')
            continue;
        switch (g.direction) {
        case 0:
            add(f, r.left + i, r.top, 1, r.bottom - ch - r.top, CanvasPicture::Ink::Black);
            break;
        case 90:
            add(f, r.left, r.bottom - i - 1, r.right - ch - r.left, 1, CanvasPicture::Ink::Black);
            break;
        case 180:
            add(f, r.right - i - 1, r.top + ch, 1, r.bottom - r.top - ch,
                CanvasPicture::Ink::Black);
            break;
        default:
            add(f, r.left + ch, r.top + i, r.right - r.left - ch, 1, CanvasPicture::Ink::Black);
            break;
        }
    }
}

// Where the cell of the digit `along` pixels down the bars starts, past the bars.
PixelPoint digitAt(const ElementGeometry& g, int along) {
    const PixelRect& r = g.rect;
    const int bars = g.barHeight * LabelGeometry::kPixelsPerMm;
    switch (g.direction) {
    case 0:
        return {r.left + along, r.top + bars};
    case 90:
        return {r.left + bars, r.bottom - along};
    case 180:
        return {r.right - along, r.bottom - bars};
    default:
        return {r.right - bars, r.top + along};
    }
}

} // namespace

CanvasPicture::Picture CanvasPicture::barCode(const ElementGeometry& g) {
    Picture picture;
    if (!LabelGeometry::knownDirection(g.direction))
        return picture;
    addBars(picture.fills, g);
    for (std::size_t k = 0; k < kSampleDigits.size(); ++k) {
        if (kSampleDigits[k] != ' ')
            picture.texts.push_back({digitAt(g, kDigitPitch * (static_cast<int>(k) - 1)),
                                     std::string(1, kSampleDigits[k])});
    }
    return picture;
}

} // namespace korvan
