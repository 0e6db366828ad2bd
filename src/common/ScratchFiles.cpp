#include "ScratchFiles.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace korvan::ScratchFiles {
namespace {

// Fixed slots, so the signal handler reads them without taking a lock or touching the heap.
constexpr std::size_t kSlots = 8;
struct Slot {
    std::atomic<bool> used{false};
    std::atomic<bool> ready{false};
    char path[PATH_MAX];
};
std::array<Slot, kSlots> slots;

void onSignal(int signal) {
    for (Slot& slot : slots)
        if (slot.ready.load())
            ::unlink(slot.path);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

void add(const std::string& path) {
    if (path.size() >= PATH_MAX)
        return;
    for (Slot& slot : slots) {
        bool expected = false;
        if (!slot.used.compare_exchange_strong(expected, true))
            continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.ready.store(true);
        return;
    }
}

void remove(const std::string& path) {
    for (Slot& slot : slots) {
        if (!slot.ready.load() || path != slot.path)
            continue;
        slot.ready.store(false);
        slot.used.store(false);
        return;
    }
}

void removeOnSignals() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, onSignal);
}

} // namespace korvan::ScratchFiles
