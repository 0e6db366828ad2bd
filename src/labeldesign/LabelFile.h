#pragma once
// The .bel label file: line 1 "shop number FF width FF height", then one line per element row
// with its ten columns separated by form feeds (the last column runs to the end of the line, form
// feeds included). CR LF on write; CR LF or a bare LF on read.
#include <filesystem>
#include <string>
#include <vector>

#include "Label.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"

namespace korvan {

class LabelFile {
public:
    // The label in the file. A missing or unreadable file is a failed result holding the default
    // header and no rows, so a caller can tell the operator instead of showing an empty label as
    // if it had been read.
    static Loaded<Label> load(const std::filesystem::path& file);
    // The same, remembering what was read, for a screen that saves the file later.
    static Loaded<Label> load(TrackedFile& file);
    // Writes the header and every row, replacing the file atomically.
    static IoResult save(const std::filesystem::path& file, const Label& label);

    // The file's lines and back, without the file.
    static Label parse(const std::vector<std::string>& lines);
    static std::vector<std::string> lines(const Label& label);
};

} // namespace korvan
