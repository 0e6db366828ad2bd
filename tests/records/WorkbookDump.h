#pragma once
// What a spreadsheet program reads from a workbook: workbook_dump.py (openpyxl) prints it as
// "key=value" lines (cell.A1, font.A1, width.B, ...), read here into a map.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <utility>

namespace korvan::test {

// Output of a shell command, and whether it exited with 0.
inline std::pair<bool, std::string> runShell(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    return {pipe && ::pclose(pipe) == 0, output};
}

inline std::map<std::string, std::string> dumpWorkbook(const std::filesystem::path& file) {
    const auto [ok, output] =
        runShell("/usr/bin/python3 '" KORVAN_WORKBOOK_DUMP "' '" + file.string() + "' 2>&1");
    EXPECT_TRUE(ok) << "openpyxl (python3-openpyxl) could not read the workbook:\n" << output;
    std::map<std::string, std::string> values;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        if (const std::size_t eq = line.find('='); eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
    return values;
}

} // namespace korvan::test
