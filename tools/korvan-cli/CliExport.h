#pragma once
// korvan-cli export-records and print-records: the sales records of record/dzcjl.rec that a query
// matches (all of them without one) written into a spreadsheet file or printed into a PDF, as the
// record screen exports and prints its list.
#include <string>

#include "CliOptions.h"
#include "common/DataDir.h"
#include "common/Language.h"

namespace korvan::cli {

class CliExport {
public:
    struct Outcome {
        int status = 0;
        std::string line; // the outcome for stdout; for a usage error, what is wrong
        std::string note; // more about a failure, for stderr; may be empty
    };

    static Outcome run(const CliOptions& options, const DataDir& dir, Lang lang);
};

} // namespace korvan::cli
