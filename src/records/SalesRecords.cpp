#include "SalesRecords.h"

#include <cerrno>
#include <stdexcept>

namespace korvan {

namespace {

Loaded<SalesRecords> fromRead(Loaded<std::string> bytes, const std::filesystem::path& file) {
    if (!bytes)
        return {{}, bytes.result};
    if (bytes.value.size() > SalesRecords::kMaxBytes)
        return {{}, IoResult::fileFailure(file, EFBIG)};
    return {SalesRecords::fromBytes(std::move(bytes.value)), {}};
}

} // namespace

Loaded<SalesRecords> SalesRecords::load(const std::filesystem::path& file) {
    return fromRead(RecordFile::readAll(file), file);
}

Loaded<SalesRecords> SalesRecords::load(TrackedFile& file) {
    return fromRead(file.readAll(), file.path());
}

SalesRecords SalesRecords::fromBytes(std::string bytes) {
    SalesRecords records;
    records.buffer_ = std::move(bytes);
    records.index();
    return records;
}

std::string_view SalesRecords::field(std::size_t row, std::size_t column) const {
    const Row& r = rows_[row];
    std::uint32_t begin = r.begin;
    std::uint32_t end = r.sep[0];
    if (column >= kFields)
        return {};
    if (column > 0) {
        if (r.sep[column - 1] == r.end)
            return {}; // the line stops before this field
        begin = r.sep[column - 1] + 1;
        end = column < kFields - 1 ? r.sep[column] : r.end;
    }
    return std::string_view(buffer_.data() + begin, end - begin);
}

void SalesRecords::index() {
    const char* data = buffer_.data();
    const std::size_t size = buffer_.size();
    // One row per line feed, plus a last line without one: counted first, so the rows are
    // allocated once (a file with lone CRs as line ends grows them as it goes).
    std::size_t lines = 0;
    for (std::size_t i = 0; i < size; ++i)
        lines += data[i] == '\n';
    rows_.reserve(lines + 1);

    const std::string_view bytes(buffer_);
    for (std::size_t start = 0; start < size;) {
        const RecordFile::LineEnd end = RecordFile::findLineEnd(bytes, start);
        rows_.push_back(locate(start, end.textEnd));
        start = end.next;
    }
}

SalesRecords::Row SalesRecords::locate(std::size_t begin, std::size_t end) const {
    std::array<std::size_t, kFields - 1> separators;
    RecordFile::findSeparators(std::string_view(buffer_).substr(begin, end - begin), separators);
    Row row{};
    row.begin = static_cast<std::uint32_t>(begin);
    row.end = static_cast<std::uint32_t>(end);
    for (std::size_t i = 0; i < separators.size(); ++i)
        row.sep[i] = static_cast<std::uint32_t>(begin + separators[i]); // a missing one is `end`
    return row;
}

void SalesRecords::appendLine(std::string_view line) {
    if (buffer_.size() + line.size() + 2 > kMaxBytes)
        throw std::length_error("sales records past 4 GiB");
    const std::size_t begin = buffer_.size();
    buffer_ += line;
    const std::size_t end = buffer_.size();
    buffer_ += "\r\n";
    rows_.push_back(locate(begin, end));
}

void SalesRecords::append(const SalesRecord& record) {
    appendLine(storableLine(record.fields));
}

void SalesRecords::erase(const std::vector<std::size_t>& rows) {
    std::vector<bool> gone(rows_.size());
    for (std::size_t row : rows)
        if (row < gone.size())
            gone[row] = true;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (!gone[i])
            rows_[kept++] = rows_[i];
    rows_.resize(kept);
}

std::string SalesRecords::fileBytes() const {
    std::size_t size = 0;
    for (const Row& r : rows_)
        size += r.end - r.begin + kFields - 1 + 2; // at most the missing separators, CR LF
    std::string bytes;
    bytes.reserve(size);
    std::string scratch;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        bytes += joinedLine(row, scratch);
        bytes += "\r\n";
    }
    return bytes;
}

std::string_view SalesRecords::joinedLine(std::size_t row, std::string& scratch) const {
    const Row& r = rows_[row];
    if (r.sep[kFields - 2] != r.end)
        return std::string_view(buffer_.data() + r.begin, r.end - r.begin); // the line itself
    scratch.clear();
    for (std::size_t column = 0; column < kFields; ++column) {
        if (column)
            scratch += kFieldSeparator;
        scratch += field(row, column);
    }
    return scratch;
}

IoResult SalesRecords::save(const std::filesystem::path& file) const {
    return RecordFile::writeAll(file, fileBytes());
}

std::string SalesRecords::storableField(std::string_view text, std::size_t column) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i; // CR LF is one line break
            out += ' ';
        } else if (c == '\n' || (c == kFieldSeparator && column < kFields - 1)) {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out;
}

std::string SalesRecords::storableLine(const std::array<std::string, kFields>& fields) {
    std::string line;
    for (std::size_t column = 0; column < kFields; ++column) {
        if (column)
            line += kFieldSeparator;
        line += storableField(fields[column], column);
    }
    return line;
}

} // namespace korvan
