#include "DataLock.h"

#include "UniqueFd.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <utility>

namespace korvan {
namespace {

// The locks this process holds, by the lock file's device and inode (two paths may name one
// folder), with how often each is held.
struct Held {
    UniqueFd fd;
    int depth = 0;
};

struct Registry {
    std::recursive_mutex mutex; // held by the thread that holds any data lock
    std::map<std::pair<unsigned long long, unsigned long long>, Held> held;
    DataLock::WaitNotice notice;
};

Registry& registry() {
    static Registry r;
    return r;
}

int lockRetrying(int fd, int operation) {
    int rc;
    do
        rc = ::flock(fd, operation);
    while (rc != 0 && errno == EINTR);
    return rc;
}

} // namespace

std::filesystem::path DataLock::lockFileFor(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    const std::string name = folder.filename().string();
    if (name == "record")
        return folder / kFileName;
    if (name == "label")
        return folder.parent_path() / "record" / kFileName;
    return {};
}

void DataLock::setWaitNotice(WaitNotice notice) {
    std::lock_guard guard(registry().mutex);
    registry().notice = std::move(notice);
}

DataLock::DataLock(const std::filesystem::path& file) {
    Registry& r = registry();
    r.mutex.lock();
    const std::filesystem::path lockFile = lockFileFor(file);
    if (lockFile.empty())
        return;
    std::error_code ignored;
    std::filesystem::create_directories(lockFile.parent_path(), ignored);
    UniqueFd fd(::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666));
    if (!fd)
        fd.reset(::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    struct stat info {};
    if (!fd || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return;
    key_[0] = info.st_dev;
    key_[1] = info.st_ino;
    const auto key = std::make_pair(key_[0], key_[1]);
    if (auto it = r.held.find(key); it != r.held.end()) {
        ++it->second.depth; // this process holds it already
        locked_ = true;
        return;
    }
    if (lockRetrying(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK)
            return;
        if (r.notice)
            r.notice(lockFile.parent_path().parent_path());
        if (lockRetrying(fd.get(), LOCK_EX) != 0)
            return;
    }
    r.held[key] = Held{std::move(fd), 1};
    locked_ = true;
}

DataLock::~DataLock() {
    Registry& r = registry();
    if (locked_) {
        const auto it = r.held.find(std::make_pair(key_[0], key_[1]));
        if (it != r.held.end() && --it->second.depth == 0)
            r.held.erase(it); // closing the descriptor lets the lock go
    }
    r.mutex.unlock();
}

} // namespace korvan
