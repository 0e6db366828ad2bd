#pragma once
// korvan-cli export-commodities and import-commodities: record/sp.rec to and from a spreadsheet
// file, as the commodity screen's Export and Import do it.
#include "CliExport.h"

namespace korvan::cli {

class CliCommodities {
public:
    using Outcome = CliExport::Outcome;
    // `report` takes the lines printed before the outcome line (the rejected rows).
    static Outcome run(const CliOptions& options, const DataDir& dir, Lang lang,
                       std::string& report);
};

} // namespace korvan::cli
