#include "UpdateImage.h"

#include "link/JobKind.h"
#include "link/LinkOutcome.h"

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
    bytesRead_ = 0;
    return 0;
}

void UpdateImage::close() {
    fd_.reset();
}

std::int64_t UpdateImage::blockCount() const {
    return JobKinds::stepTotal(JobKind::ProgramUpdate, static_cast<std::int64_t>(size_));
}

bool UpdateImage::readBlock(std::string& block) {
    block.assign(JobKinds::kUpdateBlockSize, '\0');
    if (!fd_)
        return false;
    std::size_t filled = 0;
    while (filled < block.size()) {
        ssize_t n = ::read(fd_.get(), block.data() + filled, block.size() - filled);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    bytesRead_ += filled;
    return true;
}

} // namespace korvan
