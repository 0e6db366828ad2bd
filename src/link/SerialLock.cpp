#include "SerialLock.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include "common/UniqueFd.h"

namespace korvan {
namespace {

namespace fs = std::filesystem;

std::string canonicalDevice(const std::string& device) {
    std::error_code ec;
    const fs::path resolved = fs::canonical(device, ec);
    return ec ? device : resolved.string();
}

// The pid a lock file names: ASCII (spaces around it allowed), or the four binary bytes some
// old tools wrote. 0 when the file cannot be read or names none.
pid_t lockOwner(const fs::path& file, bool& exists) {
    exists = false;
    const UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!fd) {
        exists = errno != ENOENT;
        return 0;
    }
    exists = true;
    char text[64];
    const ssize_t n = ::read(fd.get(), text, sizeof text);
    if (n == static_cast<ssize_t>(sizeof(std::int32_t))) {
        std::int32_t binary = 0;
        std::memcpy(&binary, text, sizeof binary);
        if (binary > 0)
            return binary;
    }
    if (n <= 0)
        return 0;
    const char* begin = text;
    const char* end = text + n;
    while (begin < end && (*begin == ' ' || *begin == '\t'))
        ++begin;
    pid_t pid = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, pid);
    if (ec != std::errc() || pid <= 0 || (ptr < end && *ptr != '\n' && *ptr != ' '))
        return 0;
    return pid;
}

bool alive(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// Writes the lock in one piece: a temporary file linked to the lock's name, so another program
// never reads a half-written lock. 0, EEXIST when a lock is there, or another errno.
int createLock(const fs::path& file) {
    const fs::path temporary = file.parent_path() / ("LTMP." + std::to_string(::getpid()) + "." +
                                                     file.filename().string());
    {
        UniqueFd fd(
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!fd)
            return errno;
        char text[16];
        const int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
        const bool written = ::write(fd.get(), text, static_cast<std::size_t>(length)) == length;
        const int closed = fd.close();
        if (!written || closed != 0) {
            ::unlink(temporary.c_str());
            return closed != 0 ? closed : EIO;
        }
    }
    const int linked = ::link(temporary.c_str(), file.c_str()) == 0 ? 0 : errno;
    ::unlink(temporary.c_str());
    return linked;
}

} // namespace

SerialLock::SerialLock(Places places) : places_(std::move(places)) {}

SerialLock::~SerialLock() {
    release();
}

std::string SerialLock::lockName(const std::string& device) {
    std::string name = canonicalDevice(device);
    if (name.starts_with("/dev/"))
        name.erase(0, 5);
    else
        name = fs::path(name).filename().string();
    for (char& c : name)
        if (c == '/')
            c = '_';
    return "LCK.." + name;
}

std::vector<pid_t> SerialLock::openBy(const std::string& device, const fs::path& procDir) {
    const std::string target = canonicalDevice(device);
    const pid_t self = ::getpid();
    std::vector<pid_t> holders;
    std::error_code ec;
    for (fs::directory_iterator process(procDir, ec), end; !ec && process != end;
         process.increment(ec)) {
        const std::string name = process->path().filename().string();
        pid_t pid = 0;
        const auto [ptr, parsed] = std::from_chars(name.data(), name.data() + name.size(), pid);
        if (parsed != std::errc() || ptr != name.data() + name.size() || pid == self)
            continue;
        // Links only: following them (stat) could hang on a descriptor of a stuck file system.
        std::error_code fdError;
        for (fs::directory_iterator fd(process->path() / "fd", fdError), fdEnd;
             !fdError && fd != fdEnd; fd.increment(fdError)) {
            char link[4096];
            const ssize_t n = ::readlink(fd->path().c_str(), link, sizeof link - 1);
            if (n > 0 && std::string_view(link, static_cast<std::size_t>(n)) == target) {
                holders.push_back(pid);
                break;
            }
        }
    }
    return holders;
}

SerialLock::Claim SerialLock::claim(const std::string& device) {
    release();
    holder_ = 0;
    const fs::path file = places_.lockDir / lockName(device);
    // Two rounds: a stale lock removed in the first is replaced in the second.
    int created = ENOENT;
    for (int round = 0; round < 2; ++round) {
        bool exists = false;
        const pid_t owner = lockOwner(file, exists);
        if (owner > 0 && owner != ::getpid() && alive(owner)) {
            holder_ = owner;
            return Claim::Locked;
        }
        if (exists) // stale, unreadable as a pid, or left by this process: not a holder
            ::unlink(file.c_str());
        created = createLock(file);
        if (created != EEXIST)
            break;
    }
    if (created == 0) {
        lockFile_ = file;
    } else if (created == EEXIST) {
        bool exists = false;
        holder_ = lockOwner(file, exists); // another program took it meanwhile
        return Claim::Locked;
    } // else no lock files here (read-only, missing folder): go on without one
    const std::vector<pid_t> holders = openBy(device, places_.procDir);
    if (!holders.empty()) {
        release();
        holder_ = holders.front();
        return Claim::HeldOpen;
    }
    return Claim::Taken;
}

void SerialLock::release() {
    if (lockFile_.empty())
        return;
    bool exists = false;
    if (lockOwner(lockFile_, exists) == ::getpid())
        ::unlink(lockFile_.c_str());
    lockFile_.clear();
}

} // namespace korvan
