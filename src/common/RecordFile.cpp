#include "RecordFile.h"

#include "Language.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvan {

std::string IoResult::message() const {
    static const Tr kFailed{"文件读写失败", "Could not read or write the file"};
    std::string text = kFailed.get();
    text += ": " + path.string() + " (" + std::strerror(error) + ")";
    return text;
}

namespace RecordFile {
namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

IoResult failure(const std::filesystem::path& file, int error) {
    return IoResult{error, file};
}

} // namespace

std::string readAll(const std::filesystem::path& file, IoResult* result) {
    if (result)
        *result = {};
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        if (errno != ENOENT && result)
            *result = failure(file, errno);
        return {};
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (result)
                *result = failure(file, errno);
            return {};
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

std::vector<std::string> readLines(const std::filesystem::path& file, IoResult* result) {
    const std::string bytes = readAll(file, result);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            lines.emplace_back(bytes, start);
            break;
        }
        std::size_t len = end - start;
        if (len > 0 && bytes[end - 1] == '\r')
            --len;
        lines.emplace_back(bytes, start, len);
        start = end + 1;
    }
    return lines;
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
    std::error_code ec;
    const auto folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    std::filesystem::create_directories(folder, ec);
    std::string tmpl = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    Fd fd(::mkstemp(tmpl.data()));
    if (fd.get() < 0)
        return failure(file, errno);
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
    if (::fchmod(fd.get(), static_cast<mode_t>(mode)) != 0 || ::fsync(fd.get()) != 0)
        return discard(errno);
    if (::close(fd.release()) != 0) {
        int error = errno;
        ::unlink(tmpl.c_str());
        return failure(file, error);
    }
    if (::rename(tmpl.c_str(), file.c_str()) != 0) {
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
