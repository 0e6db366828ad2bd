#include "RawLog.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>

#include "ReadableText.h"

namespace korvan::sim {
namespace {

std::string timeStamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[64];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(text + length, sizeof text - length, ".%03d", static_cast<int>(millis));
    return text;
}

} // namespace

IoResult RawLog::open(const std::filesystem::path& file) {
    file_.reset(std::fopen(file.c_str(), "ab"));
    if (!file_)
        return IoResult::failed(file.string() + ": " + std::strerror(errno), errno);
    return {};
}

void RawLog::record(Direction direction, std::string_view peer, std::string_view channel,
                    std::string_view bytes) {
    if (!file_)
        return;
    std::string line = timeStamp();
    line += direction == Direction::Received ? " recv " : " send ";
    line += peer;
    line += ' ';
    line += channel;
    line += ' ';
    line += bytes.empty() ? "(empty)" : ReadableText::hex(bytes);
    writeLine(line);
}

void RawLog::mark(std::string_view text) {
    if (file_)
        writeLine(timeStamp() + " ---- " + std::string(text));
}

void RawLog::writeLine(const std::string& line) {
    std::fputs(line.c_str(), file_.get());
    std::fputc('\n', file_.get());
    // Flushed per line: the log is read while the simulator runs, and survives a kill.
    std::fflush(file_.get());
}

} // namespace korvan::sim
