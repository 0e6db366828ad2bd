#pragma once
// The process-wide language flag and the two-column (Chinese, English) text tables screens use.
#include <filesystem>
#include <string>

#include "DataDir.h"
#include "RecordFile.h"
#include "Tr.h"

namespace korvan {

inline constexpr const char* kChinese = "chinese";
inline constexpr const char* kEnglish = "english";

namespace Language {

// The file of the language choice in a data folder.
inline std::filesystem::path file(const DataDir& dir) {
    return dir.record("language.rec");
}

// The flag: exactly "chinese" or "english" when meaningful; empty until loaded; any other text
// is kept as it is (it came from the file).
const std::string& flag();
void setFlag(std::string flag);

// Loads the flag from the language file: its first line, or "chinese" when the file has no line.
// A missing file takes the desktop locale: a locale starting with "zh" gives "chinese", anything
// else "english".
void load(const std::filesystem::path& languageFile);
// The locale rule alone (LC_ALL, LC_MESSAGES, LANG in that order).
std::string flagFromLocale();
// Sets the flag and writes it to the file: exactly its bytes, no line end.
IoResult save(const std::filesystem::path& languageFile, const std::string& flag);

} // namespace Language

} // namespace korvan
