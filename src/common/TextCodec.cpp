#include "TextCodec.h"

#include <cerrno>
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

} // namespace

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
