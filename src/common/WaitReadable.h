#pragma once
// The one wait for a descriptor: until it can be read (or written), a wake-up descriptor (an
// eventfd the owner of the job writes to) becomes readable, or a deadline on the steady clock
// passes. Every wait of the link goes through it, so a stop request ends any of them at once.
#include <chrono>

namespace korvan {

using WaitClock = std::chrono::steady_clock;

enum class WaitResult {
    Ready, // the descriptor waited on: a read (or write) will not block
    Woken, // the wake-up descriptor, and the descriptor was not ready
    TimedOut,
    Failed, // a descriptor is not open; nothing came of the wait
};

// Either descriptor may be -1: none (with both -1 the call sleeps until the deadline). A deadline
// already past looks once without waiting; a signal does not cut the wait short. A hang-up or a
// pending error counts as readable: the read that follows says which. When both are ready, the
// descriptor wins, so bytes that arrived are never left behind for a wake-up.
WaitResult waitReadable(int fd, int wakeFd, WaitClock::time_point deadline);
WaitResult waitWritable(int fd, int wakeFd, WaitClock::time_point deadline);

} // namespace korvan
