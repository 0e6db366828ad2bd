#include "SalesPdf.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <cstdlib>

#include "records/PrintLayout.h"
#include "records/SalesTotal.h"
#include "SalesPrint.h"

namespace korvan {

namespace {

// Painting text needs the GUI module's fonts. A program without one (the command line) gets one
// that needs no display, as nothing is shown.
void ensureGuiModule() {
    if (QCoreApplication::instance())
        return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "korvan";
    static char* argv[] = {name, nullptr};
    // Kept to the end of the process: torn down among the static objects at exit, it would
    // outlive parts of the GUI module it needs.
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    (void)app;
}

} // namespace

SalesPdf::Result SalesPdf::write(const std::filesystem::path& file, const SalesRows& rows,
                                 Lang lang) {
    ensureGuiModule();
    Result result;
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly)) {
        result.detail = out.errorString().toStdString();
        return result;
    }
    const PrintLayout layout(rows, PrintCaptions::forLanguage(lang), SalesTotal::text(rows));
    {
        QPdfWriter pdf(&out);
        pdf.setTitle(QStringLiteral("pdoc"));
        pdf.setCreator(QStringLiteral("Korvan"));
        pdf.setResolution(600);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        if (!SalesPrint::paint(pdf, layout)) {
            result.detail = "the PDF could not be painted";
            out.cancelWriting();
            return result;
        }
    }
    if (!out.commit()) {
        result.detail = out.errorString().toStdString();
        return result;
    }
    result.ok = true;
    result.pages = layout.pageCount();
    return result;
}

} // namespace korvan
