#pragma once
// The edge between data bytes (code page 936) and the QString texts the widgets show.
#include <QString>
#include <string>

#include "common/Language.h"

namespace korvan {

// Code page 936 bytes to a display text; bytes that are not valid GBK show as U+FFFD.
QString fromGbk(const std::string& bytes);
// A display text to code page 936 bytes. Input boxes refuse what cannot be written, so this only
// meets such characters in text the program made; they become '?'.
std::string toGbk(const QString& text);
// A text for a multi-line box: CR LF and a lone CR become the box's line feed.
QString lineFeedsOnly(QString text);
// A UTF-8 message or caption.
inline QString qtr(const char* utf8) {
    return QString::fromUtf8(utf8);
}
inline QString qtr(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
inline QString qtr(const Tr& text, Lang lang) {
    return QString::fromUtf8(text.get(lang));
}

} // namespace korvan
