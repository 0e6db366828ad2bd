#pragma once
// raw.log: every message the scale received and every answer it sent, in hex, with a time stamp,
// the direction, the peer and the channel. Appended to, so earlier runs stay readable.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "common/RecordFile.h"

namespace korvan::sim {

class RawLog {
public:
    enum class Direction { Received, Sent };

    // Without open() nothing is written.
    IoResult open(const std::filesystem::path& file);
    bool isOpen() const { return file_ != nullptr; }

    // One line: "2026-03-01 08:00:00.123 recv 127.0.0.1:40000 data AA".
    void record(Direction direction, std::string_view peer, std::string_view channel,
                std::string_view bytes);
    // A line of its own, for marks such as the start of a run.
    void mark(std::string_view text);

private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    void writeLine(const std::string& line);

    std::unique_ptr<std::FILE, Closer> file_;
};

} // namespace korvan::sim
