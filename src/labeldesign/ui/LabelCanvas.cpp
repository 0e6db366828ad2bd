#include "LabelCanvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "common/ui/QtText.h"
#include "labeldesign/CanvasPicture.h"

namespace korvan {

namespace {

constexpr QRgb kBackground = qRgb(178, 178, 168);
constexpr QRgb kRulerBand = qRgb(230, 230, 251);
constexpr QRgb kRulerInk = qRgb(0, 0, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kWhite = qRgb(255, 255, 255);
QRgb rgb(CanvasPicture::Ink ink) {
    switch (ink) {
    case CanvasPicture::Ink::Background:
        return kBackground;
    case CanvasPicture::Ink::RulerBand:
        return kRulerBand;
    case CanvasPicture::Ink::RulerInk:
        return kRulerInk;
    case CanvasPicture::Ink::White:
        return kWhite;
    case CanvasPicture::Ink::Black:
        break;
    }
    return kBlack;
}

void fill(QPainter& painter, const PixelRect& r, QRgb color) {
    painter.fillRect(r.left, r.top, r.right - r.left, r.bottom - r.top, QColor(color));
}

void fill(QPainter& painter, const std::vector<CanvasPicture::Fill>& fills) {
    for (const CanvasPicture::Fill& f : fills)
        fill(painter, f.rect, rgb(f.ink));
}

const LabelDesign& noDesign() {
    static const LabelDesign none;
    return none;
}

} // namespace

LabelCanvas::LabelCanvas(QWidget* parent) : QWidget(parent), design_(&noDesign()) {
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

void LabelCanvas::setDesign(const LabelDesign& design) {
    design_ = &design;
    refresh();
}

void LabelCanvas::refresh() {
    glyphs_.clear();
    for (const LabelElement& element : label().elements) {
        std::vector<Glyph> row;
        for (const std::string& bytes : LabelGeometry::characters(element.name()))
            row.push_back({fromGbk(bytes), static_cast<int>(bytes.size())});
        glyphs_.push_back(std::move(row));
    }
    drag_.reset();
    hover_.reset();
    redraw();
}

PixelRect LabelCanvas::drawnRect(std::size_t row) const {
    if (drag_ && dragRow_ == row)
        return drag_->rect();
    return design_->geometry().entry(row).rect;
}

void LabelCanvas::paintRulers(QImage& target) const {
    const CanvasPicture::Picture rulers = CanvasPicture::rulers(target.width(), target.height());
    QPainter painter(&target);
    fill(painter, rulers.fills);
    QFont figures(songFamily());
    figures.setPixelSize(12);
    painter.setFont(figures);
    painter.setPen(QColor(kRulerInk));
    const int ascent = QFontMetrics(figures).ascent();
    for (const CanvasPicture::Text& figure : rulers.texts)
        painter.drawText(figure.at.x, figure.at.y + ascent, QString::fromStdString(figure.text));
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
        fill(painter, CanvasPicture::labelArea(LabelGeometry::number(label().height)));
        const auto selected = design_->selected();
        const std::size_t rows = std::min(label().elements.size(), LabelGeometry::kEntries);
        for (std::size_t row = 0; row < rows; ++row) {
            if (label().elements[row].printed())
                paintElement(painter, row, selected == row ? kRed : kBlack);
        }
        const ElementGeometry* g = selected ? &design_->geometry().entry(*selected) : nullptr;
        if (g) {
            if (auto anchor = LabelGeometry::anchorCorner(drawnRect(*selected), g->direction)) {
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
    ElementGeometry g = design_->geometry().entry(row);
    g.rect = drawnRect(row);
    const auto anchor = LabelGeometry::anchorCorner(g.rect, g.direction);
    if (!anchor)
        return; // an unknown direction has no rectangle
    if (g.barCode) {
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
    const CanvasPicture::Picture bars = CanvasPicture::barCode(g);
    for (const CanvasPicture::Fill& bar : bars.fills)
        fill(painter, bar.rect, color);
    for (const CanvasPicture::Text& digit : bars.texts)
        paintCell(painter, QString::fromStdString(digit.text), 1, {digit.at.x, digit.at.y}, 0,
                  g.cellWidth, g.cellHeight, g.direction, color);
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
        hover_ = design_->geometry().hit(label().elements, {point.x(), point.y()});
        setCursor(hover_ ? Qt::PointingHandCursor : Qt::CrossCursor);
    }
    if (!drag_)
        return;
    drag_->moveTo({point.x(), point.y()});
    const PixelRect mm = drag_->rectMm();
    if (const auto position = drag_->positionMm())
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
    hover_ = design_->geometry().hit(label().elements, {point.x(), point.y()});
    if (hover_) {
        setCursor(Qt::SizeAllCursor);
        const ElementGeometry& g = design_->geometry().entry(*hover_);
        drag_.emplace(g.rect, g.direction, PixelPoint{point.x(), point.y()});
        dragRow_ = *hover_;
        emit elementPicked(static_cast<int>(*hover_));
    } else {
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
    if (!drag_)
        return;
    const auto position = drag_->positionMm();
    drag_.reset();
    if (position)
        emit dragFinished(static_cast<int>(dragRow_), position->x, position->y);
}

void LabelCanvas::leaveEvent(QEvent*) {
    endDrag();
}

} // namespace korvan
