#pragma once
// Prints the pages of a print layout: the print dialog (the whole document only), then the pages
// on the printer chosen; a printer that refuses the document is said, in the operator's language.
#include "common/Language.h"
#include "print/ui/SalesPrint.h"
#include "records/PrintLayout.h"

class QWidget;

namespace korvan::PrintPages {

// False when the operator cancelled or the printer refused. A `cover` paints a first page before
// the layout's pages.
bool print(QWidget* parent, const PrintLayout& layout, Lang lang,
           const SalesPrint::Cover& cover = {});

} // namespace korvan::PrintPages
