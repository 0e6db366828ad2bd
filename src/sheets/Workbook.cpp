#include "Workbook.h"

#include <cerrno>
#include <cstdlib>

#include <xlsxwriter.h>

#include "common/ScratchFiles.h"
#include "common/TextCodec.h"
#include "common/UniqueFd.h"

namespace korvan::Workbook {
namespace {

// Removes the scratch file however the export ends, unless it was put in place.
class ScratchFile {
public:
    explicit ScratchFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~ScratchFile() {
        if (path_.empty())
            return;
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        ScratchFiles::remove(path_.string());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    const std::filesystem::path& path() const { return path_; }
    void release() { path_.clear(); }

private:
    std::filesystem::path path_;
};

} // namespace

std::string write(const std::filesystem::path& file,
                  const std::function<std::string(lxw_workbook*)>& fill) {
    // Written beside the target (hidden), so it replaces the target by a rename and never
    // crosses file systems; a missing folder is refused here, not made.
    const Loaded<std::filesystem::path> scratchPath = RecordFile::temporaryBeside(file);
    if (!scratchPath)
        return scratchPath.result.message();
    ScratchFile scratch(scratchPath.value);
    std::error_code ec;
    std::string tmpdir = std::filesystem::temp_directory_path(ec).string();

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

    const std::filesystem::path written = scratch.path();
    scratch.release(); // replaceWith puts it in place or removes it
    if (const IoResult saved = RecordFile::replaceWith(file, written); !saved)
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

std::string cutFromGbk(std::string_view gbk, std::size_t maxCharacters) {
    return cutText(TextCodec::toUtf8Lossy(gbk.substr(0, 2 * maxCharacters)), maxCharacters);
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
