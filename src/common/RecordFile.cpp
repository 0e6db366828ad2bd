#include "RecordFile.h"

#include "Language.h"
#include "UniqueFd.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvan {

namespace {

// Why, in the operator's language: the common causes by name, the rest by the system's text.
std::string reason(int error) {
    static const struct {
        int error;
        Tr text;
    } kReasons[] = {
        {EACCES, {"没有权限", "permission denied"}},
        {EPERM, {"没有权限", "permission denied"}},
        {EROFS, {"只读文件系统", "read-only file system"}},
        {ENOSPC, {"磁盘已满", "no space left on the disk"}},
        {EDQUOT, {"超出磁盘配额", "disk quota exceeded"}},
        {ENOTDIR, {"路径中有一项不是文件夹", "a part of the path is not a folder"}},
        {EISDIR, {"这是一个文件夹", "it is a folder"}},
        {ENOENT, {"文件或文件夹不存在", "no such file or folder"}},
        {EIO, {"输入输出错误", "input/output error"}},
    };
    for (const auto& r : kReasons)
        if (r.error == error)
            return r.text.get();
    if (Language::current() == Lang::Chinese)
        return "系统错误 " + std::to_string(error);
    return std::strerror(error);
}

} // namespace

std::string IoResult::message() const {
    static const Tr kFailed{"文件读写失败", "Could not read or write the file"};
    static const Tr kNotRegular{"不是普通文件, 无法读写", "Not a regular file, it cannot be used"};
    static const Tr kFolder{"无法在此文件夹中写入文件", "Cannot write a file in the folder"};
    switch (failure) {
    case Failure::NotRegular:
        return std::string(kNotRegular.get()) + ": " + path.string();
    case Failure::Folder:
        return std::string(kFolder.get()) + ": " + path.string() + " (" + reason(error) + ")";
    case Failure::None:
    case Failure::File:
        break;
    }
    return std::string(kFailed.get()) + ": " + path.string() + " (" + reason(error) + ")";
}

namespace RecordFile {
namespace {

IoResult failure(const std::filesystem::path& file, int error) {
    return IoResult::fileFailure(file, error);
}

// The path a save replaces: a symbolic link is followed to the file it names (which may not
// exist yet), so the link itself survives the rename.
std::filesystem::path saveTarget(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(file, ec)))
        return file;
    const auto resolved = std::filesystem::weakly_canonical(file, ec);
    return ec ? file : resolved;
}

} // namespace

Loaded<std::string> readAll(const std::filesystem::path& file) {
    Loaded<std::string> loaded;
    // Non-blocking, so opening a named pipe does not wait for a writer; refused just below.
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd) {
        if (errno != ENOENT)
            loaded.result = failure(file, errno);
        return loaded;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        loaded.result = failure(file, errno);
        return loaded;
    }
    if (!S_ISREG(info.st_mode)) {
        loaded.result = IoResult{0, file, IoResult::Failure::NotRegular};
        return loaded;
    }
    std::string& bytes = loaded.value;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            loaded.result = failure(file, errno);
            loaded.value.clear();
            return loaded;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return loaded;
}

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        std::size_t len = end - start;
        if (len > 0 && bytes[end - 1] == '\r')
            --len;
        lines.emplace_back(bytes.substr(start, len));
        start = end + 1;
    }
    return lines;
}

Loaded<std::vector<std::string>> readLines(const std::filesystem::path& file) {
    Loaded<std::string> bytes = readAll(file);
    return {splitLines(bytes.value), bytes.result};
}

std::vector<std::string> splitFields(std::string_view line, std::size_t count) {
    std::vector<std::string> fields;
    fields.reserve(count);
    while (fields.size() + 1 < count) {
        std::size_t sep = line.find(kFieldSeparator);
        if (sep == std::string_view::npos)
            break;
        fields.emplace_back(line.substr(0, sep));
        line.remove_prefix(sep + 1);
    }
    if (count > 0)
        fields.emplace_back(line);
    while (fields.size() < count)
        fields.emplace_back();
    return fields;
}

std::string joinFields(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i)
            line += kFieldSeparator;
        line += fields[i];
    }
    return line;
}

IoResult writeAll(const std::filesystem::path& file, std::string_view bytes,
                  std::filesystem::perms mode) {
    const std::filesystem::path target = saveTarget(file);
    std::error_code ec;
    const auto folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::filesystem::create_directories(folder, ec);

    // What the replaced file had: its permission bits, owner and group.
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        return IoResult{0, file, IoResult::Failure::NotRegular};
    const mode_t newMode = replacing ? (old.st_mode & 07777) : static_cast<mode_t>(mode);

    std::string tmpl = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    UniqueFd fd(::mkstemp(tmpl.data()));
    if (!fd)
        return IoResult{errno, folder, IoResult::Failure::Folder};
    auto discard = [&](int error) {
        fd.reset();
        ::unlink(tmpl.c_str());
        return failure(file, error);
    };
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd.get(), data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return discard(errno);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    // Owner first: a chown may clear set-id bits that the chmod then puts back. Only root may
    // give a file away; anyone else keeps the file as their own, which is what they could
    // write anyway.
    if (replacing && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
        // Not allowed to: the new file stays the writer's own.
    }
    if (::fchmod(fd.get(), newMode) != 0 || ::fsync(fd.get()) != 0)
        return discard(errno);
    if (int error = fd.close(); error != 0) {
        ::unlink(tmpl.c_str());
        return failure(file, error);
    }
    if (::rename(tmpl.c_str(), target.c_str()) != 0) {
        int error = errno;
        ::unlink(tmpl.c_str());
        return failure(file, error);
    }
    return {};
}

IoResult writeLines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                    std::filesystem::perms mode) {
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return writeAll(file, bytes, mode);
}

} // namespace RecordFile
} // namespace korvan
