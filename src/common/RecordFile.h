#pragma once
// Record files: small text files of code page 936 bytes, one record per line, fields separated
// by form feeds. Lines end in CR LF on write; CR LF and a bare LF both end a line on read.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace korvan {

constexpr char kFieldSeparator = '\x0C';

// Outcome of reading or writing a file: empty when it worked, otherwise what went wrong
// (errno and the file), turned into an operator message by IoResult::message.
struct IoResult {
    int error = 0; // errno of the failure, 0 on success
    std::filesystem::path path;

    bool ok() const { return error == 0; }
    explicit operator bool() const { return ok(); }
    // One line for the operator, in the current language.
    std::string message() const;
};

namespace RecordFile {

// Every line of the file, line ends removed. A missing file reads as empty (and ok).
// A final line without a line end still counts; a file ending in a line end adds no empty line.
std::vector<std::string> readLines(const std::filesystem::path& file, IoResult* result = nullptr);
// The whole file as bytes. A missing file reads as empty (and ok).
std::string readAll(const std::filesystem::path& file, IoResult* result = nullptr);

// Splits a line into exactly `count` fields at form feeds: the last field runs to the end of the
// line, form feeds included; missing fields are empty.
std::vector<std::string> splitFields(std::string_view line, std::size_t count);
// Joins fields with form feeds.
std::string joinFields(const std::vector<std::string>& fields);

// Writes the lines, each followed by CR LF, atomically (temporary file beside it, flushed,
// renamed over the old one). Creates the folder when it is missing. `mode` sets the file's
// permission bits. On failure the old file is left as it was.
IoResult writeLines(const std::filesystem::path& file, const std::vector<std::string>& lines,
                    std::filesystem::perms mode = std::filesystem::perms(0644));
// Writes the bytes exactly as given, atomically, as above.
IoResult writeAll(const std::filesystem::path& file, std::string_view bytes,
                  std::filesystem::perms mode = std::filesystem::perms(0644));

} // namespace RecordFile
} // namespace korvan
