#include "PrintPages.h"

#include <QPrintDialog>
#include <QPrinter>

#include "common/Prompt.h"
#include "common/ui/DialogRunner.h"

namespace korvan::PrintPages {

bool print(QWidget* parent, const PrintLayout& layout, Lang lang, const SalesPrint::Cover& cover) {
    static constexpr Tr kPrinterRefused{"打印机未能开始打印",
                                        "The printer did not start the document"};
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (DialogRunner::run(dialog) != QDialog::Accepted)
        return false;
    printer.setDocName(QStringLiteral("pdoc"));
    if (SalesPrint::paint(printer, layout, cover))
        return true;
    Prompt::showMessage(kPrinterRefused.get(lang));
    return false;
}

} // namespace korvan::PrintPages
