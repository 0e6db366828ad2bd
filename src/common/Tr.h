#pragma once
// A text for the operator in both languages (UTF-8), and the language it is shown in.

namespace korvan {

enum class Lang { Chinese, English, Unknown };

namespace Language {
// The process-wide language flag as one of the three cases (exact, case-sensitive comparison).
Lang current();
} // namespace Language

// One text of a screen's table, in both languages (UTF-8). A screen picks the column of the
// language current when it opened. With a flag that is neither language, screens show the English
// texts (the same texts their layouts carry at design time), so no message is ever blank.
struct Tr {
    const char* zh = nullptr;
    const char* en = nullptr;
    const char* get(Lang lang) const { return lang == Lang::Chinese ? zh : en; }
    const char* get() const { return get(Language::current()); }
};

} // namespace korvan
