#pragma once
// Paints the pages of a print layout on a printer or a PDF writer. The layout's device units are
// made for a page of about 4800 x 6900 (A4 or Letter at 600 dpi); they are scaled by
// min(printable width / 4800, printable height / 6900), so a page keeps its proportions and
// fits the printable area of any paper at any resolution.
#include <QRectF>
#include <QString>
#include <functional>

#include "records/PrintLayout.h"

class QPagedPaintDevice;
class QPainter;

namespace korvan {

class SalesPrint {
public:
    static constexpr double kReferenceWidth = 4800;
    static constexpr double kReferenceHeight = 6900;

    // The factor from layout units to the device's pixels for its printable area.
    static double scale(double printableWidth, double printableHeight);
    // Paints what goes on a page of its own before the list (a chart), given the page in layout
    // units (kReferenceWidth x kReferenceHeight).
    using Cover = std::function<void(QPainter& painter, const QRectF& page)>;

    // Paints every page, starting a new page on the device between them; a cover first, when
    // given. False when painting could not begin (the printer refused the document).
    static bool paint(QPagedPaintDevice& device, const PrintLayout& layout,
                      const Cover& cover = {});
};

} // namespace korvan
