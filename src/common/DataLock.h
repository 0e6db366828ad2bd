#pragma once
// The data folder's write lock. Two programs may work on one data folder at once (the desktop
// program and a cron job of korvan-cli): every read-modify-write of a record file runs under this
// one exclusive lock, so neither loses what the other wrote. It is held only for the short write,
// never while a screen is open or a job talks to the scale.
//
// An advisory flock(2) on record/.lock. Within one process the lock nests: a holder may take it
// again (a save inside an import), and other threads of the process wait for the holder.
#include <filesystem>
#include <functional>

namespace korvan {

class DataLock {
public:
    static constexpr const char* kFileName = ".lock";

    // Takes the lock of the data folder that holds `file` (a record file, or a label file beside
    // record/), waiting while another process holds it. When the lock file cannot be made (a
    // read-only folder) the write goes on unlocked and fails, or not, with its own reason.
    explicit DataLock(const std::filesystem::path& file);
    ~DataLock();
    DataLock(const DataLock&) = delete;
    DataLock& operator=(const DataLock&) = delete;

    // The lock file that guards `file`, or empty for a file outside a data folder.
    static std::filesystem::path lockFileFor(const std::filesystem::path& file);

    // Called once each time this process must wait for another one (with the data folder), so a
    // program on a terminal can say why it stands still. Process-wide; empty for none.
    using WaitNotice = std::function<void(const std::filesystem::path& folder)>;
    static void setWaitNotice(WaitNotice notice);

private:
    bool locked_ = false;
    unsigned long long key_[2] = {0, 0}; // device and inode of the lock file
};

} // namespace korvan
