#pragma once
// How a text the operator types weighs against a field's limit, counted in code page 936 bytes
// (one Chinese character is two), and which edits of it an input box takes.
//
// A box the program filled from a file may hold more than its limit, bytes that are not valid GBK
// (shown as U+FFFD) or control characters. Such a text can always be shortened, but an edit is
// refused when it leaves the text over the limit without shortening it, adds an undecodable or a
// control character (a form feed or a line break would split the record on save), or holds a
// character code page 936 cannot write: that could never be saved.
#include <cstddef>
#include <string_view>

namespace korvan {

class ByteLimit {
public:
    // Whether the text may hold line breaks: in a multi-line text each one is stored as CR LF.
    enum class Lines { Single, Multi };

    struct Measure {
        std::size_t bytes = 0;       // as stored; a U+FFFD is the one undecodable byte it shows
        std::size_t unwritable = 0;  // characters code page 936 cannot write
        std::size_t controls = 0;    // control characters, line breaks of a multi-line text aside
        std::size_t undecodable = 0; // U+FFFD
    };

    explicit ByteLimit(std::size_t limit, Lines lines = Lines::Single)
        : limit_(limit), lines_(lines) {}

    std::size_t limit() const { return limit_; }
    Lines lines() const { return lines_; }

    // The text (UTF-8) weighed: its bytes, and whether code page 936 can write it.
    Measure measure(std::string_view utf8) const;
    // Whether a box holding `now` takes the edit that makes it `next`.
    bool allows(std::string_view next, std::string_view now) const;

private:
    std::size_t limit_;
    Lines lines_;
};

} // namespace korvan
