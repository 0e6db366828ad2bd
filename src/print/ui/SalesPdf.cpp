#include "SalesPdf.h"

#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <memory>

#include "records/PrintLayout.h"
#include "records/SalesTotal.h"
#include "SalesPrint.h"

namespace korvan {

namespace {

// Painting text needs the GUI module's fonts. A program without one (the command line) gets one
// for the painting, on the offscreen platform as nothing is shown. The platform is asked for on
// its command line, so the process's environment (and any program it starts) keeps its own.
std::unique_ptr<QGuiApplication> guiModule() {
    if (QCoreApplication::instance())
        return nullptr;
    // The application keeps argc and argv for its lifetime and takes out the options it
    // understands, so each one gets them afresh.
    static char name[] = "korvan";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static int argc;
    static char* argv[4];
    argc = 3;
    argv[0] = name;
    argv[1] = platformOption;
    argv[2] = platform;
    argv[3] = nullptr;
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

Loaded<std::size_t> SalesPdf::write(const std::filesystem::path& file, const SalesRows& rows,
                                    Lang lang) {
    const std::unique_ptr<QGuiApplication> app = guiModule();
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly))
        return {0, IoResult::failed(out.errorString().toStdString())};
    const PrintLayout layout(rows, PrintCaptions::forLanguage(lang), SalesTotal::text(rows));
    {
        QPdfWriter pdf(&out);
        pdf.setTitle(QStringLiteral("pdoc"));
        pdf.setCreator(QStringLiteral("Korvan"));
        pdf.setResolution(600);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        if (!SalesPrint::paint(pdf, layout)) {
            out.cancelWriting();
            return {0, IoResult::failed("the PDF could not be painted")};
        }
    }
    if (!out.commit())
        return {0, IoResult::failed(out.errorString().toStdString())};
    return {layout.pageCount(), {}};
}

} // namespace korvan
