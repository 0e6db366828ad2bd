#include "UpdateImage.h"

#include "link/JobKind.h"
#include "link/LinkOutcome.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvan {

int UpdateImage::open(const std::filesystem::path& file) {
    close();
    // Non-blocking, so a named pipe in place of the image is refused below instead of waiting
    // for a writer; reads from a regular file do not block either way.
    fd_.reset(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd_)
        return LinkCode::kUpdateFileOpenFailed;
    struct stat info {};
    if (::fstat(fd_.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        close();
        return LinkCode::kUpdateFileSizeFailed;
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
    modified_ = info.st_mtim;
    bytesRead_ = 0;
    return 0;
}

void UpdateImage::close() {
    fd_.reset();
}

std::int64_t UpdateImage::blockCount() const {
    return JobKinds::stepTotal(JobKind::ProgramUpdate, static_cast<std::int64_t>(size_));
}

bool UpdateImage::unchanged() const {
    struct stat info {};
    return ::fstat(fd_.get(), &info) == 0 && static_cast<std::uint64_t>(info.st_size) == size_ &&
           info.st_mtim.tv_sec == modified_.tv_sec && info.st_mtim.tv_nsec == modified_.tv_nsec;
}

UpdateImage::Block UpdateImage::readBlock(std::string& block) {
    block.assign(JobKinds::kUpdateBlockSize, '\0');
    if (!fd_)
        return Block::Failed;
    const std::size_t wanted = static_cast<std::size_t>(
        std::min<std::uint64_t>(block.size(), size_ > bytesRead_ ? size_ - bytesRead_ : 0));
    std::size_t filled = 0;
    while (filled < wanted) {
        ssize_t n = ::read(fd_.get(), block.data() + filled, wanted - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Block::Failed;
        }
        if (n == 0)
            return Block::Changed; // shorter than when it was opened: the rest would be zeros
        filled += static_cast<std::size_t>(n);
    }
    // A file written to meanwhile would give the scale a program made of two versions.
    if (!unchanged())
        return Block::Changed;
    bytesRead_ += filled;
    return Block::Read;
}

} // namespace korvan
