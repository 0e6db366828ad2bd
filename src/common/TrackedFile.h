#pragma once
// A record file a screen read when it opened and writes on Save. It remembers which file it read
// (device, inode, size, modification time), so a Save can tell that another program wrote the file
// in the meantime instead of silently writing the screen's older copy over it.
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Language.h"
#include "RecordFile.h"

namespace korvan {

// What a file on disk is at one moment; a missing file has exists == false. Every save replaces a
// record file by a new inode, so a save by anyone changes the stamp.
struct FileStamp {
    bool exists = false;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;

    bool operator==(const FileStamp&) const = default;
    // The file at `file` now (a symbolic link is followed).
    static FileStamp of(const std::filesystem::path& file);
};

class TrackedFile {
public:
    explicit TrackedFile(std::filesystem::path file = {}) : file_(std::move(file)) {}

    const std::filesystem::path& path() const { return file_; }

    // Reads the file as RecordFile does and remembers what it read.
    Loaded<std::string> readAll();
    Loaded<std::vector<std::string>> readLines();
    template <class Parse> auto readRecords(Parse parse) {
        return RecordFile::parseRecords(readLines(), parse);
    }
    // Takes the file as it is now as the one read (after the screen read it by other means).
    void remember() { stamp_ = FileStamp::of(file_); }

    // True when the file on disk is no longer the one read or last written here.
    bool changedOnDisk() const { return FileStamp::of(file_) != stamp_; }

    // Write the file (as RecordFile does) under the data folder's lock. Unless `overwrite`, a file
    // that changed on disk since it was read is left alone and the result is Failure::Changed.
    IoResult writeAll(std::string_view bytes, bool overwrite = false,
                      std::filesystem::perms mode = std::filesystem::perms(0644));
    IoResult writeLines(const std::vector<std::string>& lines, bool overwrite = false,
                        std::filesystem::perms mode = std::filesystem::perms(0644));

    // What a screen's Save came to.
    struct Saved {
        IoResult result;      // a failed write; ok otherwise
        bool written = false; // the file now holds the screen's data
        bool reload = false;  // the operator chose to read the file again, dropping the edits
        std::string note{};   // what to tell the operator after a save that worked, if anything
    };
    // The Save of a screen: writes the bytes; when another program wrote the file since the
    // screen read it, asks the operator (in `lang`) whether to reload the file (the screen's
    // edits are lost), overwrite it, or cancel. Nothing is overwritten without that answer.
    Saved save(std::string_view bytes, Lang lang,
               std::filesystem::perms mode = std::filesystem::perms(0644));
    Saved saveLines(const std::vector<std::string>& lines, Lang lang,
                    std::filesystem::perms mode = std::filesystem::perms(0644));

private:
    std::filesystem::path file_;
    FileStamp stamp_;
};

} // namespace korvan
