#include "CsvWriter.h"

#include <string_view>

namespace korvan::CsvWriter {
namespace {

// RFC 4180 quotes a field holding the separator, a quote or a line break. Semicolons and tabs are
// quoted too, since a reader that takes the separator from the header would otherwise split at
// them; and leading or trailing blanks, which some readers trim from an unquoted field.
bool needsQuotes(std::string_view cell) {
    if (cell.empty())
        return false;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return cell.find_first_of(",;\t\"\r\n") != std::string_view::npos || blank(cell.front()) ||
           blank(cell.back());
}

void appendCell(std::string& out, std::string_view cell) {
    const std::string guarded =
        needsFormulaGuard(cell) ? kFormulaGuard + std::string(cell) : std::string();
    if (!guarded.empty())
        cell = guarded;
    if (!needsQuotes(cell)) {
        out += cell;
        return;
    }
    out += '"';
    for (char c : cell) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

bool needsFormulaGuard(std::string_view cell) {
    if (cell.empty())
        return false;
    const char first = cell.front();
    return first == '=' || first == '+' || first == '-' || first == '@' || first == kFormulaGuard;
}

std::string write(const std::vector<std::vector<std::string>>& rows) {
    std::string out = "\xEF\xBB\xBF";
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += ',';
            appendCell(out, row[i]);
        }
        out += "\r\n";
    }
    return out;
}

} // namespace korvan::CsvWriter
