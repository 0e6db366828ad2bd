#pragma once
// One commodity description: its number (shown, never edited) and its text, both code page 936
// bytes kept exactly as read.
#include <string>
#include <string_view>

namespace korvan {

struct DescriptionEntry {
    static constexpr std::size_t kTextMaxBytes = 30;

    std::string number;
    std::string text;

    // A file line: the number is what comes before the first form feed, the text everything after
    // it (further form feeds included). A line without a form feed is all text, with no number.
    static DescriptionEntry fromLine(std::string_view line);
    // The file line: number, one form feed, text; no line end.
    std::string toLine() const;
    // The list's third column, for display only: a space, then the number.
    std::string numberColumn() const { return " " + number; }
    // Whether the UTF-8 text typed into the text box can be stored: it can be written in code page
    // 936 and fits kTextMaxBytes.
    static bool fitsInput(std::string_view utf8);

    bool operator==(const DescriptionEntry&) const = default;
};

} // namespace korvan
