#pragma once
// The design canvas: rulers, the label area and every printed element of the designer's label at
// 5 pixels per millimetre, as the label's geometry and the canvas picture place them. The user
// picks an element with the mouse and drags it in whole millimetres; the canvas reports the pick,
// the position during the drag and the final position, and the owner makes the changes on the
// design (the canvas only reads it). Widget coordinates are canvas pixels.
#include <QImage>
#include <QWidget>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

#include "labeldesign/ElementDrag.h"
#include "labeldesign/LabelDesign.h"

namespace korvan {

class LabelCanvas : public QWidget {
    Q_OBJECT
public:
    explicit LabelCanvas(QWidget* parent = nullptr);

    // The Song-style face the elements are drawn in: "SimSun" where present, else AR PL UMing;
    // empty when neither is installed (the default face is used then).
    static QString songFamily();

    // The design shown, which must outlive the canvas or the next call; its selected element is
    // drawn red with guides through its anchor.
    void setDesign(const LabelDesign& design);
    // The design's rows changed: shows them again (any drag in progress is dropped).
    void refresh();
    bool dragging() const { return drag_.has_value(); }
    // Where the row's element is drawn: where the drag took it while it is dragged.
    PixelRect drawnRect(std::size_t row) const;

    // Paints the whole canvas into the off-screen image and copies it to the screen at once.
    void redraw();
    // The last painted image (the canvas's size).
    const QImage& image() const { return image_; }

    QSize sizeHint() const override { return {388, 566}; }

signals:
    // The pointer moved over the canvas: where it is on the label, in mm (as the rulers count).
    void pointerMoved(int xMm, int yMm);
    // The button went down on a printed element: it is selected and a drag begins.
    void elementPicked(int row);
    // The button went down on empty canvas: nothing is selected any more.
    void selectionCleared();
    // Every drag step: the anchor (X.pos, Y.pos) and the rectangle's edges, in mm.
    void dragMoved(int xMm, int yMm, int leftMm, int topMm, int rightMm, int bottomMm);
    // The button was released after a drag on the canvas: the position to write into the row.
    void dragFinished(int row, int xMm, int yMm);
    // The pointer left the canvas during a drag: the drag is given up and the element is drawn
    // where its row puts it again.
    void dragAbandoned();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // One character of an element name: its display text and its width in bytes (cells).
    struct Glyph {
        QString text;
        int bytes = 1;
    };
    using GlyphKey = std::tuple<QString, int, int, int, QRgb, int>;

    const Label& label() const { return design_->label(); }
    void paintRulers(QImage& target) const;
    void paintElement(QPainter& painter, std::size_t row, QRgb color);
    void paintBarCode(QPainter& painter, const ElementGeometry& geometry, QRgb color);
    // Draws one character (`bytes` cells wide in the data) in a cell of cellWidth x cellHeight
    // whose top-left, before turning by the direction, lies `offset` pixels along the text from
    // `origin`.
    void paintCell(QPainter& painter, const QString& text, int bytes, QPoint origin, int offset,
                   int cellWidth, int cellHeight, int direction, QRgb color);
    const QImage& glyphImage(const QString& text, int bytes, int cellWidth, int cellHeight,
                             QRgb color, int direction);
    void endDrag();
    bool over(QPoint point) const { return rect().contains(point); }

    const LabelDesign* design_;
    std::vector<std::vector<Glyph>> glyphs_; // per row, decoded once per label
    std::optional<std::size_t> hover_;
    bool held_ = false;
    std::optional<ElementDrag> drag_;
    std::size_t dragRow_ = 0;
    QImage image_;
    QImage rulers_; // background and rulers, repainted only when the size changes
    std::map<GlyphKey, QImage> glyphCache_;
};

} // namespace korvan
