#pragma once
// The receipt text file record/xpwz.rec: line 1 the store name, line 2 the shop phone, line 3 the
// store address.
//
// The store name and address may hold line breaks, yet the file keeps one line per text. Inside a
// text, each LF is written as the byte 0x1E and each CR as 0x1F (the record and unit separators
// of ASCII), and read back as LF and CR, so a text round-trips byte for byte. Neither byte can be
// typed into a box nor is part of a GBK character (trail bytes start at 0x40), so a file written
// before this rule never holds them by accident.
#include <filesystem>
#include <string>
#include <string_view>

#include "common/DataDir.h"
#include "StoreText.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"
#include <vector>

namespace korvan {

class StoreTextFile {
public:
    // The file of the store texts in a data folder.
    static std::filesystem::path file(const DataDir& dir) { return dir.record("xpwz.rec"); }
    static constexpr char kLineFeedMark = '\x1E';
    static constexpr char kCarriageReturnMark = '\x1F';

    // A missing line leaves its text empty and lines after the third are ignored; a missing file
    // gives three empty texts. A file that cannot be read gives empty texts and a failed result.
    static Loaded<StoreText> load(const std::filesystem::path& file);
    // The same, remembering what was read so a later save can tell another program's write.
    static Loaded<StoreText> load(TrackedFile& file);
    // The file's three lines.
    static std::vector<std::string> lines(const StoreText& text);
    // Writes the three texts, one line each, atomically; on failure the old file is left as it was.
    static IoResult save(const std::filesystem::path& file, const StoreText& text);

    // A text as its line holds it, and back.
    static std::string toLine(std::string_view text);
    static std::string fromLine(std::string_view line);
};

} // namespace korvan
