#include "ByteLimit.h"

#include "TextCodec.h"

namespace korvan {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// Bytes of the UTF-8 sequence that starts with `lead` (a stray continuation byte stands alone).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

ByteLimit::Measure ByteLimit::measure(std::string_view utf8) const {
    Measure m;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::string_view character = utf8.substr(i, sequenceLength(lead));
        i += character.size();
        if (lead == '\n' && lines_ == Lines::Multi) {
            m.bytes += 2;
        } else if (lead < 0x20 || lead == 0x7F) {
            ++m.bytes;
            ++m.controls;
        } else if (lead < 0x80) {
            ++m.bytes;
        } else if (character == kReplacement) {
            ++m.bytes;
            ++m.undecodable;
        } else if (const auto length = TextCodec::gbkLength(character)) {
            m.bytes += *length;
        } else {
            ++m.unwritable;
        }
    }
    return m;
}

bool ByteLimit::allows(std::string_view next, std::string_view now) const {
    const Measure after = measure(next);
    if (after.unwritable > 0)
        return false; // nothing unwritable can be saved, whatever the box held before
    const Measure before = measure(now);
    if (after.controls > before.controls || after.undecodable > before.undecodable)
        return false;
    if (after.undecodable == 0 && after.bytes <= limit_)
        return true;
    // Over the limit or still holding undecodable bytes: only a shorter text is taken.
    return after.bytes < before.bytes;
}

} // namespace korvan
