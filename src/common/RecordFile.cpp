#include "RecordFile.h"

#include "DataLock.h"
#include "Language.h"
#include "ScratchFiles.h"
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
    static const Tr kChanged{"文件在打开后已被其他程序修改",
                             "The file was changed by another program since it was opened"};
    if (failure != Failure::None && text.zh)
        return path.empty() ? std::string(text.get()) : text.get() + (": " + path.string());
    switch (failure) {
    case Failure::Other:
        return detail;
    case Failure::Changed:
        return std::string(kChanged.get()) + ": " + path.string();
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

IoResult IoResult::toldAs(const Tr& words, std::filesystem::path shown) const {
    if (ok())
        return *this;
    IoResult told = *this;
    told.detail = why();
    told.text = words;
    told.path = std::move(shown);
    return told;
}

namespace RecordFile {
namespace {

IoResult failure(const std::filesystem::path& file, int error) {
    return IoResult::fileFailure(file, error);
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
        loaded.result = IoResult::of(IoResult::Failure::NotRegular, file);
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

LineEnd findLineEnd(std::string_view bytes, std::size_t start) {
    const char* data = bytes.data();
    const std::size_t size = bytes.size();
    const auto* lf = static_cast<const char*>(std::memchr(data + start, '\n', size - start));
    const std::size_t lfAt = lf ? static_cast<std::size_t>(lf - data) : size;
    const auto* cr = static_cast<const char*>(std::memchr(data + start, '\r', lfAt - start));
    if (cr) {
        const std::size_t crAt = static_cast<std::size_t>(cr - data);
        return {crAt, crAt + 1 == lfAt ? lfAt + 1 : crAt + 1}; // CR LF, or a lone CR
    }
    return {lfAt, lf ? lfAt + 1 : size};
}

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const LineEnd end = findLineEnd(bytes, start);
        lines.emplace_back(bytes.substr(start, end.textEnd - start));
        start = end.next;
    }
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

Loaded<std::vector<std::string>> readLines(const std::filesystem::path& file) {
    Loaded<std::string> bytes = readAll(file);
    return {splitLines(bytes.value), bytes.result};
}

void findSeparators(std::string_view line, std::span<std::size_t> ends) {
    std::size_t from = 0;
    for (std::size_t& end : ends) {
        const auto* ff = from < line.size()
                             ? static_cast<const char*>(std::memchr(
                                   line.data() + from, kFieldSeparator, line.size() - from))
                             : nullptr;
        end = ff ? static_cast<std::size_t>(ff - line.data()) : line.size();
        from = end + 1;
    }
}

std::vector<std::string> splitFields(std::string_view line, std::size_t count) {
    std::vector<std::string> fields;
    if (count == 0)
        return fields;
    std::vector<std::size_t> ends(count - 1);
    findSeparators(line, ends);
    ends.push_back(line.size());
    fields.reserve(count);
    std::size_t begin = 0;
    for (std::size_t end : ends) {
        // A field past the line's last separator is missing: empty.
        fields.emplace_back(begin <= end ? line.substr(begin, end - begin) : std::string_view());
        begin = end + 1;
    }
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

std::filesystem::path saveTarget(const std::filesystem::path& file) {
    std::filesystem::path target = file;
    // A link names its target relative to its own folder; a loop ends after as many hops as the
    // system itself follows.
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(target, ec)))
            break;
        const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec)
            break;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

namespace {

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
}

// A new hidden file beside the target, open for writing.
IoResult makeTemporary(const std::filesystem::path& target, UniqueFd& fd, std::string& name) {
    const std::filesystem::path folder = folderOf(target);
    name = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    fd.reset(::mkstemp(name.data()));
    if (!fd)
        return IoResult::of(IoResult::Failure::Folder, folder, errno);
    ScratchFiles::add(name);
    return {};
}

// Gives the written temporary file the replaced file's mode and owner, flushes it and renames it
// over the target. The temporary file is gone afterwards whatever happened.
IoResult commit(const std::filesystem::path& file, const std::filesystem::path& target, UniqueFd fd,
                const std::string& temporary, std::filesystem::perms mode) {
    auto discard = [&](IoResult result) {
        fd.reset();
        ::unlink(temporary.c_str());
        return result;
    };
    // What the replaced file had: its permission bits, owner and group.
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        return discard(IoResult::of(IoResult::Failure::NotRegular, file));
    const mode_t newMode = replacing ? (old.st_mode & 07777) : static_cast<mode_t>(mode);
    // Owner first: a chown may clear set-id bits that the chmod then puts back. Only root may
    // give a file away; anyone else keeps the file as their own, which is what they could
    // write anyway.
    if (replacing && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
        ::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
        // Not allowed to: the new file stays the writer's own.
    }
    if (::fchmod(fd.get(), newMode) != 0 || ::fsync(fd.get()) != 0)
        return discard(failure(file, errno));
    if (int error = fd.close(); error != 0)
        return discard(failure(file, error));
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return discard(failure(file, errno));
    ScratchFiles::remove(temporary);
    return {};
}

} // namespace

IoResult writeAll(const std::filesystem::path& file, std::string_view bytes,
                  std::filesystem::perms mode, MakeFolder makeFolder) {
    const DataLock lock(file);
    const std::filesystem::path target = saveTarget(file);
    if (makeFolder == MakeFolder::Yes) {
        std::error_code ignored;
        std::filesystem::create_directories(folderOf(target), ignored);
    }
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && !S_ISREG(old.st_mode))
        return IoResult::of(IoResult::Failure::NotRegular, file);

    UniqueFd fd;
    std::string temporary;
    if (IoResult made = makeTemporary(target, fd, temporary); !made)
        return made;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        ssize_t n = ::write(fd.get(), data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            fd.reset();
            ::unlink(temporary.c_str());
            ScratchFiles::remove(temporary);
            return failure(file, error);
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return commit(file, target, std::move(fd), temporary, mode);
}

IoResult writeLines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                    std::filesystem::perms mode) {
    return writeAll(file, joinLines(lines), mode);
}

Loaded<std::filesystem::path> temporaryBeside(const std::filesystem::path& file) {
    UniqueFd fd;
    std::string name;
    if (IoResult made = makeTemporary(saveTarget(file), fd, name); !made)
        return {{}, made};
    return {std::filesystem::path(name), {}};
}

IoResult replaceWith(const std::filesystem::path& file, const std::filesystem::path& written,
                     std::filesystem::perms mode) {
    const DataLock lock(file);
    UniqueFd fd(::open(written.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW));
    if (!fd) {
        const int error = errno;
        ::unlink(written.c_str());
        ScratchFiles::remove(written.string());
        return failure(file, error);
    }
    return commit(file, saveTarget(file), std::move(fd), written.string(), mode);
}

} // namespace RecordFile
} // namespace korvan
