#pragma once
// Writing .xlsx workbooks (libxlsxwriter) the safe way: the library writes a hidden scratch file
// beside the target, which then replaces the target in one step, so a failed or interrupted
// export never leaves half a workbook where the operator expects one. The scratch file is removed
// on failure, and by korvan-cli when it is told to stop.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "common/RecordFile.h"

struct lxw_workbook;

namespace korvan::Workbook {

// Makes a workbook, lets `fill` add its sheets and cells, and puts it in `file`. `fill` returns
// an empty text, or what went wrong (the workbook is then dropped). The outcome is empty on
// success, otherwise what went wrong (English, for a log or a command line).
std::string write(const std::filesystem::path& file,
                  const std::function<std::string(lxw_workbook*)>& fill);

// A new empty file named `prefix`, six random characters and ".xlsx" in the temporary folder
// (TMPDIR), readable by the user alone.
Loaded<std::filesystem::path> newTemporaryFile(std::string_view prefix = "korvan-");

// The characters a cell can hold.
inline constexpr std::size_t kMaxCellCharacters = 32767;

// The text a cell can hold: UTF-8 cut to the 32767 characters a cell allows.
std::string cellText(std::string text);
// UTF-8 cut to its first `maxCharacters` characters.
std::string cutText(std::string text, std::size_t maxCharacters);
// Code page 936 bytes as UTF-8, cut to `maxCharacters` characters (a cell's limit unless told).
// Only the bytes of the characters kept are converted (a character takes at most two), so a
// field of any length costs no more than the text kept.
std::string cutFromGbk(std::string_view gbk, std::size_t maxCharacters = kMaxCellCharacters);

} // namespace korvan::Workbook
