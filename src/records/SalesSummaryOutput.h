#pragma once
// A sales summary as the operator takes it away: an aligned table of text, a CSV file, or a
// workbook with the table and a column chart of the amounts.
#include <filesystem>
#include <string>
#include <vector>

#include "SalesSummary.h"
#include "common/RecordFile.h"

namespace korvan::SalesSummaryOutput {

// The caption row, a row per group and the totals row, UTF-8: key, sales, quantity, amount, share.
std::vector<std::vector<std::string>> table(const SalesSummary& summary, Lang lang);

// The table in columns a terminal aligns (a Chinese character takes two places): the key left,
// the figures right, a rule above the totals; a line end after each row.
std::string text(const SalesSummary& summary, Lang lang);

// Writes the table into `file`: a workbook when its name ends in ".xlsx" (the figures as numbers
// and a column chart of the amount per group beside them), CSV (UTF-8) otherwise. The file is
// replaced in one step; a failure leaves it as it was.
IoResult write(const std::filesystem::path& file, const SalesSummary& summary, Lang lang);

} // namespace korvan::SalesSummaryOutput
