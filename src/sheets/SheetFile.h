#pragma once
// A spreadsheet file of either kind, told apart by its content: a workbook is a zip archive,
// anything else is read as CSV text.
#include <filesystem>

#include "SheetRead.h"

namespace korvan::SheetFile {

SheetRead read(const std::filesystem::path& file);

} // namespace korvan::SheetFile
