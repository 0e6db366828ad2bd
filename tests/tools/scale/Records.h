#pragma once
// Builders for the bytes the PC sends, so tests read like the record layouts.
#include <initializer_list>
#include <string>

namespace korvan::test {

// Fields joined by 0x0C and ended by CR LF.
inline std::string record(std::initializer_list<std::string> fields) {
    std::string bytes;
    bool first = true;
    for (const auto& f : fields) {
        if (!first)
            bytes += '\x0C';
        bytes += f;
        first = false;
    }
    return bytes + "\r\n";
}

inline std::string byte(unsigned value) {
    return std::string(1, static_cast<char>(value));
}

// "苹果" and "香蕉" in code page 936.
inline const std::string kApple = "\xC6\xBB\xB9\xFB";
inline const std::string kBanana = "\xCF\xE3\xBD\xB6";

} // namespace korvan::test
