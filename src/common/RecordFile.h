#pragma once
// Record files: small text files of code page 936 bytes, one record per line, fields separated
// by form feeds. Lines end in CR LF on write; CR LF, a bare LF and a bare CR each end a line on
// read.
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Tr.h"

namespace korvan {

constexpr char kFieldSeparator = '\x0C';

// Outcome of reading, writing or opening something: empty when it worked, otherwise what went
// wrong (errno and the file, or a detail), turned into an operator message by IoResult::message.
struct [[nodiscard]] IoResult {
    // What could not be done; the message names the file, or the folder for Folder.
    // Changed: another program wrote the file since it was read, and it was left alone.
    // Other: not a file-system failure (a socket, a library, a refused step): `detail` says what,
    // and is what the operator reads unless `text` is set.
    enum class Failure { None, File, NotRegular, Folder, Changed, Other };

    int error = 0; // errno of the failure, 0 when there is none
    std::filesystem::path path;
    Failure failure = Failure::None;
    std::string detail; // English, for a log or a command line: what exactly went wrong
    Tr text;            // when set, what the operator reads instead of the file system's words

    bool ok() const { return error == 0 && failure == Failure::None; }
    bool changedOnDisk() const { return failure == Failure::Changed; }
    explicit operator bool() const { return ok(); }
    // One line for the operator, in the current language.
    std::string message() const;
    // What exactly went wrong: `detail`, or the operator's line when there is none.
    std::string why() const { return detail.empty() ? message() : detail; }
    // The same failure told to the operator as `words`, followed by ": " and `shown` unless that
    // is empty; `detail` keeps what exactly went wrong. A success stays a success.
    IoResult toldAs(const Tr& words, std::filesystem::path shown = {}) const;

    static IoResult of(Failure failure, std::filesystem::path file, int error = 0) {
        return {error, std::move(file), failure, {}, {}};
    }
    static IoResult fileFailure(std::filesystem::path file, int error) {
        return of(Failure::File, std::move(file), error);
    }
    // A step refused or failed for a reason that is no file's; `detail` is also the operator's
    // line (already in the language it is to be shown in).
    static IoResult failed(std::string detail, int error = 0) {
        return {error, {}, Failure::Other, std::move(detail), {}};
    }
};

// What a read gives: the value and how the read went, together, so a caller cannot take the
// value of a file it could not read for an empty file. A failed read holds an empty value.
template <class T> struct [[nodiscard]] Loaded {
    T value{};
    IoResult result;

    bool ok() const { return result.ok(); }
    explicit operator bool() const { return ok(); }
};

namespace RecordFile {

// Every line of the file, line ends removed. A missing file reads as empty (and ok).
// A final line without a line end still counts; a file ending in a line end adds no empty line.
Loaded<std::vector<std::string>> readLines(const std::filesystem::path& file);
// The whole file as bytes. A missing file reads as empty (and ok). Anything but a regular file
// (a named pipe, a device, a folder) is refused, so a read never blocks.
Loaded<std::string> readAll(const std::filesystem::path& file);
// Splits file bytes into lines as readLines does.
std::vector<std::string> splitLines(std::string_view bytes);
// Where the line starting at `start` ends: its text is bytes[start, textEnd), and the next line
// starts at `next`. The one line-end rule of every reader.
struct LineEnd {
    std::size_t textEnd;
    std::size_t next;
};
LineEnd findLineEnd(std::string_view bytes, std::size_t start);
// The bytes of the lines, each followed by CR LF.
std::string joinLines(const std::vector<std::string>& lines);
// Every line made into one record by `parse` (a function of the line), in order. A failed read
// gives no records and carries its result.
template <class Parse>
auto parseRecords(const Loaded<std::vector<std::string>>& lines, Parse parse)
    -> Loaded<std::vector<decltype(parse(std::string()))>> {
    Loaded<std::vector<decltype(parse(std::string()))>> loaded{{}, lines.result};
    loaded.value.reserve(lines.value.size());
    for (const std::string& line : lines.value)
        loaded.value.push_back(parse(line));
    return loaded;
}
// Every line of the file made into one record, as parseRecords does.
template <class Parse>
auto readRecords(const std::filesystem::path& file, Parse parse)
    -> Loaded<std::vector<decltype(parse(std::string()))>> {
    return parseRecords(readLines(file), parse);
}

// Where the fields of a line end: the positions of its first `ends.size()` form feeds, in order;
// where the line has fewer, the rest are line.size(). The one field rule of every reader: a line
// of N fields splits at its first N - 1 form feeds, the last field runs to the end of the line,
// form feeds included, and missing fields are empty.
void findSeparators(std::string_view line, std::span<std::size_t> ends);
// Splits a line into exactly `count` fields by that rule.
std::vector<std::string> splitFields(std::string_view line, std::size_t count);
// Joins fields with form feeds.
std::string joinFields(const std::vector<std::string>& fields);

// Whether a save may make the folder it writes into: a record file's record/ folder is made on
// first save; an export goes only where the operator's folder already is.
enum class MakeFolder { Yes, No };

// Writes the lines, each followed by CR LF, atomically (temporary file beside it, flushed,
// renamed over the old one), under the data folder's lock. Creates the folder when it is
// missing. A new file gets `mode`; a file that is replaced keeps its permission bits and, where
// the process may set them, its owner and group. A symbolic link stays a link: the file it points
// to is replaced, or made when it does not exist yet. On failure the old file is left as it was.
IoResult writeLines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                    std::filesystem::perms mode = std::filesystem::perms(0644));
// Writes the bytes exactly as given, atomically, as above.
IoResult writeAll(const std::filesystem::path& file, std::string_view bytes,
                  std::filesystem::perms mode = std::filesystem::perms(0644),
                  MakeFolder makeFolder = MakeFolder::Yes);
// The file a save replaces: `file`, or for a symbolic link (a chain of them) the file it names,
// which may not exist yet.
std::filesystem::path saveTarget(const std::filesystem::path& file);
// A hidden temporary file beside the target of `file`, for a writer that makes the file itself
// (a workbook library): write it, then replaceWith. Fails when the folder does not exist.
Loaded<std::filesystem::path> temporaryBeside(const std::filesystem::path& file);
// Puts `written` (made by temporaryBeside) in place of `file` as writeAll does (mode, owner,
// link, flushed, renamed). `written` is gone afterwards, also on failure.
IoResult replaceWith(const std::filesystem::path& file, const std::filesystem::path& written,
                     std::filesystem::perms mode = std::filesystem::perms(0644));

} // namespace RecordFile
} // namespace korvan
