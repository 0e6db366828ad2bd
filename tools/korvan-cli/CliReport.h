#pragma once
// korvan-cli report: the sales records of record/dzcjl.rec summed up by day, hour, weekday or
// commodity, as a table on stdout or into a CSV file or a workbook with a chart.
#include <cstddef>
#include <string>

#include "CliCommand.h"

namespace korvan::cli {

class Report : public CliCommand {
public:
    Report();
    std::string usageProblem() const override;
    CliOutcome run(const CliContext& context) override;

private:
    void addOptions(CLI::App& command) override;

    std::string by_ = "day";
    std::string from_;
    std::string to_;
    std::size_t top_ = 0;
    std::string csvFile_;
    std::string xlsxFile_;
};

} // namespace korvan::cli
