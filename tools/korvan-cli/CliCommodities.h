#pragma once
// korvan-cli export-commodities and import-commodities: record/sp.rec to and from a spreadsheet
// file, as the commodity screen's Export and Import do it.
#include <string>

#include "CliCommand.h"

namespace korvan::cli {

class ExportCommodities : public CliCommand {
public:
    ExportCommodities();
    CliOutcome run(const CliContext& context) override;

private:
    void addOptions(CLI::App& command) override;
    std::string file_;
};

class ImportCommodities : public CliCommand {
public:
    ImportCommodities();
    CliOutcome run(const CliContext& context) override;

private:
    void addOptions(CLI::App& command) override;
    std::string file_;
    bool replace_ = false;   // the file's rows become the whole list
    bool validOnly_ = false; // takes the valid rows when some are rejected
    bool dryRun_ = false;
};

} // namespace korvan::cli
