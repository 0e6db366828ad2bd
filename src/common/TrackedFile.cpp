#include "TrackedFile.h"

#include "DataLock.h"
#include "Prompt.h"
#include "Text.h"

#include <sys/stat.h>

namespace korvan {

FileStamp FileStamp::of(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0)
        return {};
    return {true, static_cast<unsigned long long>(info.st_dev),
            static_cast<unsigned long long>(info.st_ino), static_cast<long long>(info.st_size),
            static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}

Loaded<std::string> TrackedFile::readAll() {
    // Stamped before the read: a write that lands during the read then shows as a change.
    stamp_ = FileStamp::of(file_);
    return RecordFile::readAll(file_);
}

Loaded<std::vector<std::string>> TrackedFile::readLines() {
    Loaded<std::string> bytes = readAll();
    return {RecordFile::splitLines(bytes.value), bytes.result};
}

IoResult TrackedFile::writeAll(std::string_view bytes, bool overwrite,
                               std::filesystem::perms mode) {
    const DataLock lock(file_);
    if (!overwrite && changedOnDisk())
        return IoResult::of(IoResult::Failure::Changed, file_);
    IoResult result = RecordFile::writeAll(file_, bytes, mode);
    if (result)
        remember();
    return result;
}

IoResult TrackedFile::writeLines(const std::vector<std::string>& lines, bool overwrite,
                                 std::filesystem::perms mode) {
    return writeAll(RecordFile::joinLines(lines), overwrite, mode);
}

TrackedFile::Saved TrackedFile::save(std::string_view bytes, Lang lang,
                                     std::filesystem::perms mode) {
    static constexpr Tr kQuestion{
        "%1 在打开后已被其他程序修改。\n重新载入 (放弃这里的修改), 用这里的数据覆盖, 还是取消?",
        "%1 was changed by another program since it was opened here.\nReload it (the changes "
        "made here are lost), overwrite it with the data here, or cancel?"};
    static constexpr Tr kReload{"重新载入", "Reload"};
    static constexpr Tr kOverwrite{"覆盖", "Overwrite"};
    static constexpr Tr kCancel{"取消", "Cancel"};

    Saved saved;
    saved.result = writeAll(bytes, false, mode);
    if (!saved.result.changedOnDisk()) {
        saved.written = saved.result.ok();
        return saved;
    }
    saved.result = {};
    const std::size_t answer =
        Prompt::choose(Text::fillIn(kQuestion.get(lang), {file_.filename().string()}),
                       {kReload.get(lang), kOverwrite.get(lang), kCancel.get(lang)});
    if (answer == 0) {
        saved.reload = true;
    } else if (answer == 1) {
        saved.result = writeAll(bytes, true, mode);
        saved.written = saved.result.ok();
    }
    return saved;
}

TrackedFile::Saved TrackedFile::saveLines(const std::vector<std::string>& lines, Lang lang,
                                          std::filesystem::perms mode) {
    return save(RecordFile::joinLines(lines), lang, mode);
}

} // namespace korvan
