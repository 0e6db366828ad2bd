#pragma once
// korvan-cli export-records and print-records: the sales records of record/dzcjl.rec that a query
// matches (all of them without one) written into a spreadsheet file or printed into a PDF, as the
// record screen exports and prints its list.
#include <string>

#include "CliCommand.h"
#include "records/SalesQuery.h"

namespace korvan::cli {

class SalesOutput : public CliCommand {
public:
    CliOutcome run(const CliContext& context) override;

protected:
    SalesOutput(std::string name, std::string help);
    // Adds --date and --name, after the command's own options.
    void addQueryOptions(CLI::App& command);
    // Writes the rows the query picked (at least one).
    virtual CliOutcome write(const SalesSelection& rows, Lang lang) const = 0;

private:
    std::string dateQuery_; // empty: any day
    std::string nameQuery_; // empty: any name
};

class ExportRecords : public SalesOutput {
public:
    ExportRecords();

private:
    void addOptions(CLI::App& command) override;
    CliOutcome write(const SalesSelection& rows, Lang lang) const override;
    std::string xlsxFile_;
};

class PrintRecords : public SalesOutput {
public:
    PrintRecords();

private:
    void addOptions(CLI::App& command) override;
    CliOutcome write(const SalesSelection& rows, Lang lang) const override;
    std::string pdfFile_;
};

} // namespace korvan::cli
