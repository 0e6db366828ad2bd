#include "CliProgress.h"

#include <algorithm>

namespace korvan::cli {

namespace {
constexpr int kBarWidth = 30;
}

CliProgress::CliProgress(std::FILE* out, bool terminal, std::string title)
    : out_(out), terminal_(terminal), title_(std::move(title)) {}

void CliProgress::progress(const TransferProgress& p) {
    if (!terminal_) {
        std::fprintf(out_, "%s: %s (%lld/%lld)\n", title_.c_str(), p.countText.c_str(),
                     static_cast<long long>(p.position), static_cast<long long>(p.total));
        std::fflush(out_);
        return;
    }
    const long long total = std::max<long long>(p.total, 1);
    const int filled =
        static_cast<int>(std::clamp<long long>(p.position * kBarWidth / total, 0, kBarWidth));
    std::fprintf(out_, "\r%s [%s%s] %s ", title_.c_str(), std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), p.countText.c_str());
    std::fflush(out_);
    drawn_ = true;
}

void CliProgress::finished(const TransferReport&) {
    if (terminal_ && drawn_) {
        std::fputc('\n', out_);
        std::fflush(out_);
    }
}

} // namespace korvan::cli
