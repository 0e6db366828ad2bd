#include "Workbook.h"

#include <cerrno>
#include <cstdlib>

#include <xlsxwriter.h>

#include "common/UniqueFd.h"

namespace korvan::Workbook {
namespace {

constexpr std::size_t kMaxCellCharacters = 32767;

// Removes the scratch file however the export ends.
class ScratchFile {
public:
    explicit ScratchFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace

std::string write(const std::filesystem::path& file,
                  const std::function<std::string(lxw_workbook*)>& fill) {
    const Loaded<std::filesystem::path> scratchPath = newTemporaryFile();
    if (!scratchPath)
        return scratchPath.result.message();
    const ScratchFile scratch(scratchPath.value);
    std::string tmpdir = scratch.path().parent_path().string();

    // Rows are written in order and flushed as they go, so memory stays flat however long the
    // list is.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir.data();
    lxw_workbook* book = workbook_new_opt(scratch.path().c_str(), &options);
    if (!book)
        return "the workbook cannot be created";
    const std::string filled = fill(book);
    // Closing writes the file and frees the workbook, also after a failed step.
    const lxw_error closed = workbook_close(book);
    if (!filled.empty())
        return filled;
    if (closed != LXW_NO_ERROR)
        return std::string("the workbook cannot be written: ") + lxw_strerror(closed);

    const Loaded<std::string> bytes = RecordFile::readAll(scratch.path());
    if (!bytes)
        return bytes.result.message();
    if (const IoResult saved = RecordFile::writeAll(file, bytes.value); !saved)
        return saved.message();
    return {};
}

Loaded<std::filesystem::path> newTemporaryFile(std::string_view prefix) {
    std::error_code ec;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec)
        return {{}, IoResult::fileFailure("/tmp", ec.value())};
    const std::filesystem::path pattern = folder / (std::string(prefix) + "XXXXXX.xlsx");
    std::string name = pattern.string();
    UniqueFd fd(::mkstemps(name.data(), 5));
    if (!fd)
        return {{}, IoResult::fileFailure(pattern, errno)};
    return {std::filesystem::path(name), {}};
}

std::string cellText(std::string text) {
    return cutText(std::move(text), kMaxCellCharacters);
}

std::string cutText(std::string text, std::size_t maxCharacters) {
    if (text.size() <= maxCharacters)
        return text;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++characters > maxCharacters) {
            text.resize(i);
            break;
        }
    }
    return text;
}

} // namespace korvan::Workbook
