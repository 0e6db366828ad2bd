#pragma once
// Shows a transfer's progress on stderr: a bar redrawn in place on a terminal, plain lines
// otherwise (for logs and scripts), or nothing. Redraws and lines are spaced out in time, so a
// job of thousands of records does not print thousands of lines.
#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "link/TransferObserver.h"

namespace korvan::cli {

class CliProgress : public TransferObserver {
public:
    enum class Display { Bar, Lines, None };
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // At most one line per second; the bar is redrawn at most ten times a second.
    static constexpr std::chrono::milliseconds kLineInterval{1000};
    static constexpr std::chrono::milliseconds kBarInterval{100};

    CliProgress(std::ostream& out, Display display, std::string title,
                Clock clock = &std::chrono::steady_clock::now);

    void progress(const TransferProgress& progress) override;
    void finished(const TransferReport& report) override;
    // A line of its own (one scale's end in a job for several), printed above the bar. `now` is
    // the progress at that moment: the bar shows it under the line; as lines, finished() shows it
    // unless a later count comes.
    void note(const std::string& line, const TransferProgress& now);

private:
    void show(const TransferProgress& progress);

    std::ostream& out_;
    Display display_;
    std::string title_;
    Clock clock_;
    std::optional<std::chrono::steady_clock::time_point> lastShown_;
    std::optional<TransferProgress> pending_; // the latest progress not shown yet
    bool drawn_ = false;
};

} // namespace korvan::cli
