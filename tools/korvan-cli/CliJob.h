#pragma once
// Builds the job request of a korvan-cli command from the data directory's record files, the
// way the starting screen would from its rows and fields.
#include <optional>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "common/DataDir.h"
#include "link/JobRequest.h"

namespace korvan::cli {

class CliJob {
public:
    // nullopt with `error` set when an input file cannot be read. Read records go to
    // `records` as they arrive.
    static std::optional<JobRequest> load(const CliOptions& options, const DataDir& dir,
                                          std::vector<SalesRecord>& records, std::string& error);
};

} // namespace korvan::cli
