#include "SalesPrint.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace korvan {

double SalesPrint::scale(double printableWidth, double printableHeight) {
    return std::min(printableWidth / kReferenceWidth, printableHeight / kReferenceHeight);
}

bool SalesPrint::paint(QPagedPaintDevice& device, const PrintLayout& layout, const Cover& cover) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QRectF printable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    painter.scale(scale(printable.width(), printable.height()),
                  scale(printable.width(), printable.height()));
    if (cover) {
        painter.save();
        cover(painter, QRectF(0, 0, kReferenceWidth, kReferenceHeight));
        painter.restore();
        device.newPage();
    }
    // One font for every text: its line (ascent plus descent) as tall as the layout's font.
    QFont font = painter.font();
    font.setPixelSize(PrintLayout::kFontHeight);
    const double line = QFontMetricsF(font, &device).height();
    font.setPixelSize(std::max(
        1, qRound(PrintLayout::kFontHeight * PrintLayout::kFontHeight / std::max(line, 1.0))));
    painter.setFont(font);
    const double ascent = QFontMetricsF(font, &device).ascent();

    const std::size_t pages = layout.pageCount();
    for (std::size_t number = 1; number <= pages; ++number) {
        if (number > 1)
            device.newPage();
        for (const PrintText& text : layout.page(number).texts)
            painter.drawText(QPointF(text.x, text.y + ascent), QString::fromStdString(text.text));
    }
    return painter.end();
}

} // namespace korvan
