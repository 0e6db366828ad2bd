#include "LabelFile.h"

#include <cerrno>

namespace korvan {

namespace {

// The number of fields of a line, as far as a place of `count` fields sees them.
std::size_t fieldCount(const std::string& line, std::size_t count) {
    std::size_t fields = 1;
    for (std::size_t at = line.find(kFieldSeparator); at != std::string::npos && fields < count;
         at = line.find(kFieldSeparator, at + 1))
        ++fields;
    return fields;
}

// Notes line `number` (from 1) when it is the first to fall short of its `count` fields.
void noteShort(Label& label, const std::string& line, std::size_t count, std::size_t number) {
    if (label.shortLine == 0 && fieldCount(line, count) < count)
        label.shortLine = number;
}

void readHeader(const std::string& line, Label& label) {
    noteShort(label, line, Label::kHeaderFields, 1);
    auto fields = RecordFile::splitFields(line, Label::kHeaderFields);
    label.shopNumber = std::move(fields[0]);
    label.width = std::move(fields[1]);
    label.height = std::move(fields[2]);
}

LabelElement readElement(const std::string& line) {
    auto fields = RecordFile::splitFields(line, LabelElement::kColumns);
    std::array<std::string, LabelElement::kColumns> columns;
    for (std::size_t i = 0; i < columns.size(); ++i)
        columns[i] = std::move(fields[i]);
    return LabelElement(std::move(columns));
}

// The label in the lines read from `file`, a missing file counting as a failure: a label file
// that is not there is not an empty label.
Loaded<Label> fromLines(const std::filesystem::path& file,
                        const Loaded<std::vector<std::string>>& lines) {
    if (!lines.ok())
        return {Label{}, lines.result};
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return {Label{}, IoResult::fileFailure(file, ec ? ec.value() : ENOENT)};
    return {LabelFile::parse(lines.value), lines.result};
}

} // namespace

Label LabelFile::parse(const std::vector<std::string>& lines) {
    Label label;
    if (lines.empty())
        return label;
    readHeader(lines.front(), label);
    label.elements.reserve(lines.size() - 1);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        noteShort(label, lines[i], LabelElement::kColumns, i + 1);
        label.elements.push_back(readElement(lines[i]));
    }
    return label;
}

std::vector<std::string> LabelFile::lines(const Label& label) {
    std::vector<std::string> out;
    out.reserve(label.elements.size() + 1);
    out.push_back(RecordFile::joinFields({label.shopNumber, label.width, label.height}));
    for (const LabelElement& element : label.elements) {
        const auto& columns = element.columns();
        out.push_back(RecordFile::joinFields({columns.begin(), columns.end()}));
    }
    return out;
}

Loaded<Label> LabelFile::load(const std::filesystem::path& file) {
    return fromLines(file, RecordFile::readLines(file));
}

Loaded<Label> LabelFile::load(TrackedFile& file) {
    return fromLines(file.path(), file.readLines());
}

IoResult LabelFile::save(const std::filesystem::path& file, const Label& label) {
    return RecordFile::writeLines(file, lines(label));
}

} // namespace korvan
