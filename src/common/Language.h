#pragma once
// The process-wide language flag and the two-column (Chinese, English) text tables screens use.
#include <filesystem>
#include <string>

#include "RecordFile.h"

namespace korvan {

inline constexpr const char* kChinese = "chinese";
inline constexpr const char* kEnglish = "english";

enum class Lang { Chinese, English, Unknown };

namespace Language {

// The flag: exactly "chinese" or "english" when meaningful; empty until loaded; any other text
// is kept as it is (it came from the file).
const std::string& flag();
void setFlag(std::string flag);
// The flag as one of the three cases (exact, case-sensitive comparison).
Lang current();

// Loads the flag from the language file: its first line, or "chinese" when the file has no line.
// A missing file takes the desktop locale: a locale starting with "zh" gives "chinese", anything
// else "english".
void load(const std::filesystem::path& languageFile);
// The locale rule alone (LC_ALL, LC_MESSAGES, LANG in that order).
std::string flagFromLocale();
// Sets the flag and writes it to the file: exactly its bytes, no line end.
IoResult save(const std::filesystem::path& languageFile, const std::string& flag);

} // namespace Language

// One text of a screen's table, in both languages (UTF-8). A screen picks the column of the
// language current when it opened. With a flag that is neither language, screens show the English
// texts (the same texts their layouts carry at design time), so no message is ever blank.
struct Tr {
    const char* zh;
    const char* en;
    const char* get(Lang lang) const { return lang == Lang::Chinese ? zh : en; }
    const char* get() const { return get(Language::current()); }
};

} // namespace korvan
