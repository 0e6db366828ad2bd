#include "CliProgress.h"

#include <algorithm>

namespace korvan::cli {

namespace {
constexpr int kBarWidth = 30;
}

CliProgress::CliProgress(std::ostream& out, Display display, std::string title, Clock clock)
    : out_(out), display_(display), title_(std::move(title)), clock_(std::move(clock)) {}

void CliProgress::progress(const TransferProgress& p) {
    if (display_ == Display::None)
        return;
    const auto now = clock_();
    const auto interval = display_ == Display::Bar ? kBarInterval : kLineInterval;
    if (lastShown_ && now - *lastShown_ < interval) {
        pending_ = p;
        return;
    }
    lastShown_ = now;
    show(p);
}

void CliProgress::show(const TransferProgress& p) {
    pending_.reset();
    if (display_ == Display::Lines) {
        out_ << title_ << ": " << p.countText;
        // A read of sales records has no known end: a bound such as "/2000" would mislead.
        if (!p.totalUnknown)
            out_ << " (" << p.position << '/' << p.total << ')';
        out_ << '\n';
        out_.flush();
        return;
    }
    if (p.totalUnknown) {
        out_ << '\r' << title_ << ": " << p.countText << ' ';
        out_.flush();
        drawn_ = true;
        return;
    }
    const long long total = std::max<long long>(p.total, 1);
    const int filled =
        static_cast<int>(std::clamp<long long>(p.position * kBarWidth / total, 0, kBarWidth));
    out_ << '\r' << title_ << " [" << std::string(filled, '#')
         << std::string(kBarWidth - filled, ' ') << "] " << p.countText << ' ';
    out_.flush();
    drawn_ = true;
}

void CliProgress::note(const std::string& line, const TransferProgress& now) {
    if (display_ == Display::None)
        return;
    if (display_ == Display::Bar && drawn_)
        out_ << "\r\033[K"; // the bar's line is cleared for the note
    out_ << line << '\n';
    out_.flush();
    if (display_ == Display::Bar)
        show(now);
    else
        pending_ = now;
}

void CliProgress::finished(const TransferReport&) {
    // The last count is always shown, however soon it came after the one before.
    // A copy: show() drops the pending count before it prints the one it was given.
    if (pending_)
        show(TransferProgress(*pending_));
    if (display_ == Display::Bar && drawn_) {
        out_ << '\n';
        out_.flush();
    }
}

} // namespace korvan::cli
