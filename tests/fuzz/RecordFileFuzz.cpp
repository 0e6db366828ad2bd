// The record-file reader on arbitrary bytes: lines, fields and user lines split without fault,
// and what they give is written back to the same lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "common/RecordFile.h"
#include "users/UserFile.h"

using namespace korvan;

namespace {
void require(bool condition) {
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto lines = RecordFile::splitLines(bytes);

    // What a save writes reads back as the same lines.
    std::string written;
    for (const auto& line : lines) {
        require(line.find('\n') == std::string::npos && line.find('\r') == std::string::npos);
        written += line;
        written += "\r\n";
    }
    require(RecordFile::splitLines(written) == lines);

    for (const auto& line : lines) {
        for (std::size_t count : {1u, 2u, 5u, 10u}) {
            const auto fields = RecordFile::splitFields(line, count);
            require(fields.size() == count);
            std::size_t separators = 0;
            for (char c : line)
                separators += c == kFieldSeparator;
            if (separators + 1 >= count)
                require(RecordFile::joinFields(fields) == line);
        }
        const User user = UserFile::parseLine(line);
        if (line.find(kFieldSeparator) != std::string::npos)
            require(user.name + kFieldSeparator + user.password == line);
        else
            require(user.name.empty() && user.password == line);
    }
    return 0;
}
