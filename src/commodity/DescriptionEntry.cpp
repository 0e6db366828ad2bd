#include "DescriptionEntry.h"

#include "common/RecordFile.h"
#include "common/TextCodec.h"

namespace korvan {

DescriptionEntry DescriptionEntry::fromLine(std::string_view line) {
    const std::size_t sep = line.find(kFieldSeparator);
    if (sep == std::string_view::npos)
        return {std::string(), std::string(line)};
    return {std::string(line.substr(0, sep)), std::string(line.substr(sep + 1))};
}

std::string DescriptionEntry::toLine() const {
    std::string line;
    line.reserve(number.size() + 1 + text.size());
    line += number;
    line += kFieldSeparator;
    line += text;
    return line;
}

bool DescriptionEntry::fitsInput(std::string_view utf8) {
    const auto length = TextCodec::gbkLength(utf8);
    return length && *length <= kTextMaxBytes;
}

} // namespace korvan
