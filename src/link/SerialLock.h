#pragma once
// Claims a serial device against other programs the way Linux serial tools do. A program that
// honours the UUCP convention leaves /run/lock/LCK..NAME holding its pid (ASCII, right-aligned in
// ten characters, then a newline); one that does not still shows up in /proc/PID/fd as holding
// the device open. Both are looked at; the lock file is taken for the time the port is ours.
#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

namespace korvan {

// Where lock files are kept and processes are shown (tests use folders of their own).
struct SerialLockPlaces {
    std::filesystem::path lockDir = "/run/lock";
    std::filesystem::path procDir = "/proc";
};

class SerialLock {
public:
    using Places = SerialLockPlaces;

    enum class Claim {
        Taken,    // the port is ours (with a lock file, or without one where none can be made)
        Locked,   // another live process holds the lock file
        HeldOpen, // another process has the device open
    };

    explicit SerialLock(Places places = {});
    ~SerialLock();
    SerialLock(const SerialLock&) = delete;
    SerialLock& operator=(const SerialLock&) = delete;

    // Claims `device`, which this process has just opened. A lock file whose process is gone is
    // removed first. When the claim fails, nothing is left behind and holder() names the other.
    Claim claim(const std::string& device);
    // Removes the lock file taken by claim(), if it still names this process.
    void release();

    pid_t holder() const { return holder_; }
    bool ownsLockFile() const { return !lockFile_.empty(); }

    // "LCK..ttyUSB0" for /dev/ttyUSB0; below /dev a '/' becomes '_' ("LCK..pts_3").
    static std::string lockName(const std::string& device);
    // The processes other than this one that have `device` open, as far as /proc shows them
    // (other users' processes are hidden from an unprivileged one).
    static std::vector<pid_t> openBy(const std::string& device,
                                     const std::filesystem::path& procDir = "/proc");

private:
    Places places_;
    std::filesystem::path lockFile_; // the lock file this object took, or empty
    pid_t holder_ = 0;
};

} // namespace korvan
