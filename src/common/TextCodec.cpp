#include "TextCodec.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>

namespace korvan::TextCodec {
namespace {

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (valid())
            iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts the whole input. On an invalid or unconvertible sequence stops and returns false;
    // `consumed` then tells how far the input was used.
    bool convert(std::string_view in, std::string& out, std::size_t& consumed) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char buffer[1024];
        while (inLeft > 0) {
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
                consumed = in.size() - inLeft;
                return false;
            }
        }
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        consumed = in.size();
        return true;
    }

private:
    iconv_t cd_;
};

// One descriptor per direction and thread: iconv descriptors carry shift state.
Iconv& fromGbk() {
    thread_local Iconv cd("UTF-8", "GBK");
    return cd;
}
Iconv& toGbkCd() {
    thread_local Iconv cd("GBK", "UTF-8");
    return cd;
}

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

// Length of the longest well-formed UTF-8 start of the bytes.
std::size_t validUtf8Prefix(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    const auto inRange = [](unsigned char c, unsigned char low, unsigned char high) {
        return c >= low && c <= high;
    };
    while (p < end) {
        // Most of a file is ASCII: step over it eight bytes at a time.
        if (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if ((word & 0x8080808080808080ull) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        // The second byte's range depends on the lead byte; that is what rules out overlong
        // forms (C0, C1, E0 80..9F, F0 80..8F), surrogates (ED A0..BF) and code points past
        // U+10FFFF (F4 90.., F5..).
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;
        if (inRange(c, 0xC2, 0xDF)) {
            length = 2;
        } else if (inRange(c, 0xE0, 0xEF)) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (inRange(c, 0xF0, 0xF4)) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            break;
        }
        if (static_cast<std::size_t>(end - p) < length || !inRange(p[1], low, high))
            break;
        std::size_t i = 2;
        while (i < length && inRange(p[i], 0x80, 0xBF))
            ++i;
        if (i < length)
            break;
        p += length;
    }
    return static_cast<std::size_t>(p - reinterpret_cast<const unsigned char*>(bytes.data()));
}

} // namespace

bool isUtf8(std::string_view bytes) {
    return validUtf8Prefix(bytes) == bytes.size();
}

std::string utf8Lossy(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (;;) {
        const std::size_t valid = validUtf8Prefix(bytes);
        out.append(bytes.substr(0, valid));
        if (valid == bytes.size())
            return out;
        out.append("\xEF\xBF\xBD");
        bytes.remove_prefix(valid + 1);
    }
}

std::optional<std::string> toUtf8(std::string_view gbk) {
    if (isAscii(gbk))
        return std::string(gbk);
    std::string out;
    std::size_t consumed = 0;
    if (!fromGbk().valid() || !fromGbk().convert(gbk, out, consumed))
        return std::nullopt;
    return out;
}

std::string toUtf8Lossy(std::string_view gbk) {
    if (isAscii(gbk))
        return std::string(gbk);
    std::string out;
    while (!gbk.empty()) {
        std::size_t consumed = 0;
        if (fromGbk().convert(gbk, out, consumed))
            break;
        out.append("\xEF\xBF\xBD"); // U+FFFD for the byte that cannot be read
        gbk.remove_prefix(consumed + 1);
    }
    return out;
}

std::optional<std::string> toGbk(std::string_view utf8) {
    if (isAscii(utf8))
        return std::string(utf8);
    std::string out;
    std::size_t consumed = 0;
    if (!toGbkCd().valid() || !toGbkCd().convert(utf8, out, consumed))
        return std::nullopt;
    return out;
}

bool fitsCodePage936(std::string_view utf8) {
    return toGbk(utf8).has_value();
}

std::optional<std::size_t> gbkLength(std::string_view utf8) {
    auto bytes = toGbk(utf8);
    if (!bytes)
        return std::nullopt;
    return bytes->size();
}

} // namespace korvan::TextCodec
