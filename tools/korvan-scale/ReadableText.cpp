#include "ReadableText.h"

#include "common/TextCodec.h"

namespace korvan::sim::ReadableText {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHexEscape(std::string& out, unsigned char byte) {
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

// Appends one ASCII byte, escaped when it is not printable or is the escape character itself.
void appendAscii(std::string& out, unsigned char c) {
    switch (c) {
    case '\\':
        out += "\\\\";
        return;
    case '\t':
        out += "\\t";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\f':
        out += "\\f";
        return;
    default:
        if (c < 0x20 || c == 0x7F)
            appendHexEscape(out, c);
        else
            out += static_cast<char>(c);
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string fromGbk(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() + gbk.size() / 2);
    // Fast path: valid GBK converts whole; UTF-8 keeps ASCII bytes as they are, so only the
    // ASCII controls need escaping afterwards.
    if (auto utf8 = TextCodec::toUtf8(gbk)) {
        for (unsigned char c : *utf8) {
            if (c < 0x80)
                appendAscii(out, c);
            else
                out += static_cast<char>(c);
        }
        return out;
    }
    std::size_t i = 0;
    while (i < gbk.size()) {
        const auto c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            appendAscii(out, c);
            ++i;
            continue;
        }
        if (i + 1 < gbk.size()) {
            if (auto pair = TextCodec::toUtf8(gbk.substr(i, 2))) {
                out += *pair;
                i += 2;
                continue;
            }
        }
        if (auto single = TextCodec::toUtf8(gbk.substr(i, 1))) {
            out += *single;
        } else {
            appendHexEscape(out, c);
        }
        ++i;
    }
    return out;
}

std::optional<std::string> toGbk(std::string_view text) {
    std::string out;
    std::size_t runStart = 0;
    auto flushRun = [&](std::size_t end) {
        if (end == runStart)
            return true;
        auto bytes = TextCodec::toGbk(text.substr(runStart, end - runStart));
        if (!bytes)
            return false;
        out += *bytes;
        return true;
    };
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '\\') {
            ++i;
            continue;
        }
        if (!flushRun(i) || i + 1 >= text.size())
            return std::nullopt;
        const char kind = text[i + 1];
        std::size_t length = 2;
        switch (kind) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case 'n':
            out += '\n';
            break;
        case 'f':
            out += '\f';
            break;
        case 'x': {
            if (i + 3 >= text.size())
                return std::nullopt;
            const int high = hexValue(text[i + 2]);
            const int low = hexValue(text[i + 3]);
            if (high < 0 || low < 0)
                return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            length = 4;
            break;
        }
        default:
            return std::nullopt;
        }
        i += length;
        runStart = i;
    }
    if (!flushRun(text.size()))
        return std::nullopt;
    return out;
}

std::string hex(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3);
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += kHexDigits[c >> 4];
        out += kHexDigits[c & 0x0F];
    }
    return out;
}

} // namespace korvan::sim::ReadableText
