#include "LabelCanvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>

#include "common/ui/QtText.h"

namespace korvan {

namespace {

constexpr QRgb kBackground = qRgb(178, 178, 168);
constexpr QRgb kRulerBand = qRgb(230, 230, 251);
constexpr QRgb kRulerInk = qRgb(0, 0, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr int kMargin = LabelGeometry::kMargin;

// The sample bar code every bar code element shows: a start pattern, then the left-hand
// (number set A) codes of 0 to 9 and of 0 to 5 again, 122 modules in all.
const std::array<bool, 122>& sampleModules() {
    static const std::array<bool, 122> modules = [] {
        static const char* const setA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                                             "0110001", "0101111", "0111011", "0110111", "0001011"};
        std::string bits = "1010011101";
        for (int d = 0; d < 10; ++d)
            bits += setA[d];
        for (int d = 0; d < 6; ++d)
            bits += setA[d];
        std::array<bool, 122> out{};
        for (std::size_t i = 0; i < out.size(); ++i)
            out[i] = bits.at(i) == '1';
        return out;
    }();
    return modules;
}
constexpr const char* kSampleDigits = "0 123456 789012";

void fill(QPainter& painter, int x, int y, int w, int h, QRgb color) {
    if (w > 0 && h > 0)
        painter.fillRect(x, y, w, h, QColor(color));
}

} // namespace

LabelCanvas::LabelCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

QString LabelCanvas::songFamily() {
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char* name : {"SimSun", "AR PL UMing CN", "AR PL UMing"})
            if (families.contains(QLatin1String(name)))
                return QString::fromLatin1(name);
        return QString();
    }();
    return family;
}

void LabelCanvas::setLabel(const Label& label) {
    label_ = label;
    geometry_.rebuild(label_.elements);
    glyphs_.clear();
    for (const LabelElement& element : label_.elements) {
        std::vector<Glyph> row;
        for (const std::string& bytes : LabelGeometry::characters(element.name()))
            row.push_back({fromGbk(bytes), static_cast<int>(bytes.size())});
        glyphs_.push_back(std::move(row));
    }
    drag_.reset();
    hover_.reset();
    redraw();
}

void LabelCanvas::setSelectedRow(std::optional<int> row) {
    if (row && (*row < 0 || static_cast<std::size_t>(*row) >= LabelGeometry::kEntries))
        row.reset();
    selected_ = row;
    if (!selected_)
        drag_.reset();
    redraw();
}

void LabelCanvas::paintRulers(QImage& target) const {
    const int w = target.width();
    const int h = target.height();
    QPainter painter(&target);
    fill(painter, 0, 0, w, h, kBackground);

    QFont figures(songFamily());
    figures.setPixelSize(12);
    painter.setFont(figures);
    painter.setPen(QColor(kRulerInk));
    const int ascent = QFontMetrics(figures).ascent();

    fill(painter, kMargin, 1, w - 26, 24, kRulerBand);
    fill(painter, kMargin, kMargin, w - 26, 1, kRulerInk);
    for (int k = 0; 5 * k < w - 35; ++k) {
        fill(painter, kMargin + 5 * k, 20, 1, 5, kRulerInk);
        if (k % 5 == 0)
            fill(painter, kMargin + 5 * k, 15, 1, 10, kRulerInk);
        if (k % 10 == 0)
            fill(painter, kMargin + 5 * k, 5, 1, 20, kRulerInk);
    }
    for (int k = 0; 50 * k < w - 81; ++k)
        painter.drawText(27 + 50 * k, 3 + ascent, QString::number(k * 10));

    fill(painter, 1, kMargin, 24, h - 26, kRulerBand);
    fill(painter, kMargin, kMargin, 1, h - 26, kRulerInk);
    for (int k = 0; 5 * k < h - 31; ++k) {
        fill(painter, 20, kMargin + 5 * k, 5, 1, kRulerInk);
        if (k % 5 == 0)
            fill(painter, 15, kMargin + 5 * k, 10, 1, kRulerInk);
        if (k % 10 == 0)
            fill(painter, 5, kMargin + 5 * k, 20, 1, kRulerInk);
    }
    for (int k = 0; 50 * k < h - 51; ++k)
        painter.drawText(3, 27 + 50 * k + ascent, QString::number(k * 10));
}

void LabelCanvas::redraw() {
    const QSize size = this->size();
    if (size.isEmpty())
        return;
    if (rulers_.size() != size) {
        rulers_ = QImage(size, QImage::Format_RGB32);
        paintRulers(rulers_);
    }
    image_ = rulers_;
    {
        QPainter painter(&image_);
        const int areaHeight = LabelGeometry::number(label_.height) * LabelGeometry::kPixelsPerMm;
        const int areaWidth = LabelGeometry::kLabelAreaWidth;
        fill(painter, kMargin, kMargin, areaWidth, areaHeight, kWhite);
        fill(painter, kMargin, kMargin, areaWidth + 1, 1, kBlack);
        fill(painter, kMargin, kMargin + areaHeight, areaWidth + 1, 1, kBlack);
        fill(painter, kMargin, kMargin, 1, areaHeight + 1, kBlack);
        fill(painter, kMargin + areaWidth, kMargin, 1, areaHeight + 1, kBlack);

        const std::size_t rows = std::min(label_.elements.size(), LabelGeometry::kEntries);
        for (std::size_t row = 0; row < rows; ++row) {
            if (!label_.elements[row].printed())
                continue;
            const bool isSelected = selected_ && static_cast<std::size_t>(*selected_) == row;
            paintElement(painter, row, isSelected ? kRed : kBlack);
        }

        if (selected_) {
            const ElementGeometry& g = geometry_.entry(static_cast<std::size_t>(*selected_));
            if (auto anchor = LabelGeometry::anchorCorner(g.rect, g.direction)) {
                QPen pen{QColor(kRed)};
                pen.setWidth(1);
                pen.setDashPattern({1.0, 1.0});
                painter.setPen(pen);
                painter.drawLine(0, anchor->y, size.width(), anchor->y);
                painter.drawLine(anchor->x, 0, anchor->x, size.height());
            }
        }
    }
    // At once, not deferred: the drag follows the pointer step by step.
    if (isVisible())
        repaint();
}

void LabelCanvas::paintElement(QPainter& painter, std::size_t row, QRgb color) {
    const ElementGeometry& g = geometry_.entry(row);
    const auto anchor = LabelGeometry::anchorCorner(g.rect, g.direction);
    if (!anchor)
        return; // an unknown direction has no rectangle
    if (LabelElement::isBarCodeName(g.name)) {
        paintBarCode(painter, g, color);
        return;
    }
    const QPoint origin(anchor->x, anchor->y);
    int offset = 0;
    for (const Glyph& glyph : glyphs_[row]) {
        const int cellWidth = g.cellWidth * glyph.bytes;
        paintCell(painter, glyph.text, glyph.bytes, origin, offset, cellWidth, g.cellHeight,
                  g.direction, color);
        offset += cellWidth + 1;
    }
}

void LabelCanvas::paintBarCode(QPainter& painter, const ElementGeometry& g, QRgb color) {
    const PixelRect& r = g.rect;
    const int ch = g.cellHeight;
    const int b5 = g.barHeight * LabelGeometry::kPixelsPerMm;
    const auto& modules = sampleModules();
    for (int i = 0; i < static_cast<int>(modules.size()); ++i) {
        if (!modules[static_cast<std::size_t>(i)])
            continue;
        switch (g.direction) {
        case 0:
            fill(painter, r.left + i, r.top, 1, r.bottom - ch - r.top, color);
            break;
        case 90:
            fill(painter, r.left, r.bottom - i - 1, r.right - ch - r.left, 1, color);
            break;
        case 180:
            fill(painter, r.right - i - 1, r.top + ch, 1, r.bottom - r.top - ch, color);
            break;
        case 270:
            fill(painter, r.left + ch, r.top + i, r.right - r.left - ch, 1, color);
            break;
        }
    }
    for (int k = 0; k < 15; ++k) {
        QPoint at;
        switch (g.direction) {
        case 0:
            at = {r.left - 8 + 8 * k, r.top + b5};
            break;
        case 90:
            at = {r.left + b5, r.bottom + 8 - 8 * k};
            break;
        case 180:
            at = {r.right + 8 - 8 * k, r.bottom - b5};
            break;
        default:
            at = {r.right - b5, r.top - 8 + 8 * k};
            break;
        }
        paintCell(painter, QString(QLatin1Char(kSampleDigits[k])), 1, at, 0, g.cellWidth, ch,
                  g.direction, color);
    }
}

void LabelCanvas::paintCell(QPainter& painter, const QString& text, int bytes, QPoint origin,
                            int offset, int cellWidth, int cellHeight, int direction, QRgb color) {
    if (cellWidth <= 0 || cellHeight <= 0 || text.trimmed().isEmpty())
        return;
    // The cell in text coordinates, turned counter-clockwise about the origin.
    QTransform turn;
    turn.translate(origin.x(), origin.y());
    turn.rotate(-direction);
    const QRect target = turn.mapRect(QRectF(offset, 0, cellWidth, cellHeight)).toRect();
    painter.drawImage(target.topLeft(),
                      glyphImage(text, bytes, cellWidth, cellHeight, color, direction));
}

// Characters are drawn once per cell size, colour and direction and kept: a drag redraws the
// canvas on every step. Turning by whole quarter turns keeps the pixels exact.
const QImage& LabelCanvas::glyphImage(const QString& text, int bytes, int cellWidth, int cellHeight,
                                      QRgb color, int direction) {
    GlyphKey key{text, bytes, cellWidth, cellHeight, color, direction};
    auto found = glyphCache_.find(key);
    if (found != glyphCache_.end())
        return found->second;

    QImage cell(cellWidth, cellHeight, QImage::Format_ARGB32_Premultiplied);
    cell.fill(Qt::transparent);
    {
        QPainter painter(&cell);
        QFont font(songFamily());
        font.setPixelSize(cellHeight);
        font.setWeight(QFont::Weight(550));
        font.setStyleStrategy(QFont::PreferAntialias);
        painter.setFont(font);
        painter.setPen(QColor(color));
        const QFontMetrics metrics(font);
        // The face's em square fills the cell: a full-width character spans two byte cells.
        const double emWidth = double(cellWidth) * 2 / std::max(bytes, 1);
        painter.scale(emWidth / cellHeight, 1.0);
        painter.drawText(QPointF(0, cellHeight - metrics.descent()), text);
    }
    if (direction != 0)
        cell = cell.transformed(QTransform().rotate(-direction));
    return glyphCache_.emplace(std::move(key), std::move(cell)).first->second;
}

void LabelCanvas::paintEvent(QPaintEvent*) {
    if (image_.size() != size())
        redraw();
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

void LabelCanvas::resizeEvent(QResizeEvent*) {
    redraw();
}

void LabelCanvas::endDrag() {
    if (!drag_)
        return;
    // Nothing is written: the element goes back where its row says, so what is drawn and what
    // a pick finds are the row's position, not a half-finished drag.
    drag_.reset();
    geometry_.rebuild(label_.elements);
    redraw();
    emit dragAbandoned();
}

void LabelCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (!over(point)) {
        endDrag();
        return;
    }
    emit pointerMoved(LabelGeometry::mmFromPixel(point.x()), LabelGeometry::mmFromPixel(point.y()));
    if (!held_) {
        hover_ = geometry_.hit(label_.elements, {point.x(), point.y()});
        setCursor(hover_ ? Qt::PointingHandCursor : Qt::CrossCursor);
    }
    if (!drag_ || !selected_)
        return;
    const std::size_t row = static_cast<std::size_t>(*selected_);
    drag_->moveTo({point.x(), point.y()});
    geometry_.setRect(row, drag_->rect());
    const PixelRect mm = drag_->rectMm();
    const auto position = drag_->positionMm();
    if (position)
        emit dragMoved(position->x, position->y, mm.left, mm.top, mm.right, mm.bottom);
    redraw();
}

void LabelCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    if (!over(point))
        return;
    held_ = true;
    setCursor(Qt::PointingHandCursor);
    // The hover scan of the last move decides; a press without a move before it scans here.
    hover_ = geometry_.hit(label_.elements, {point.x(), point.y()});
    if (hover_) {
        setCursor(Qt::SizeAllCursor);
        selected_ = static_cast<int>(*hover_);
        const ElementGeometry& g = geometry_.entry(*hover_);
        drag_.emplace(g.rect, g.direction, PixelPoint{point.x(), point.y()});
        emit elementPicked(*selected_);
    } else {
        selected_.reset();
        drag_.reset();
        emit selectionCleared();
    }
    redraw();
}

void LabelCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    held_ = false;
    if (over(event->position().toPoint()))
        setCursor(hover_ ? Qt::PointingHandCursor : Qt::CrossCursor);
    if (!drag_ || !selected_)
        return;
    const auto position = drag_->positionMm();
    drag_.reset();
    if (position)
        emit dragFinished(*selected_, position->x, position->y);
}

void LabelCanvas::leaveEvent(QEvent*) {
    endDrag();
}

} // namespace korvan
