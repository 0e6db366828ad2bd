#include "LabelFile.h"

#include <cerrno>

namespace korvan {

namespace {

constexpr std::size_t kHeaderFields = 3;

void readHeader(const std::string& line, Label& label) {
    auto fields = RecordFile::splitFields(line, kHeaderFields);
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

// Reads the lines of a file, a missing file counting as a failure: a label file that is not
// there is not an empty label.
Loaded<std::vector<std::string>> readExisting(const std::filesystem::path& file) {
    auto lines = RecordFile::readLines(file);
    if (lines.ok()) {
        std::error_code ec;
        if (!std::filesystem::exists(file, ec))
            return {{}, IoResult::fileFailure(file, ec ? ec.value() : ENOENT)};
    }
    return lines;
}

} // namespace

Label LabelFile::parse(const std::vector<std::string>& lines) {
    Label label;
    if (lines.empty())
        return label;
    readHeader(lines.front(), label);
    label.elements.reserve(lines.size() - 1);
    for (std::size_t i = 1; i < lines.size(); ++i)
        label.elements.push_back(readElement(lines[i]));
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
    auto lines = readExisting(file);
    if (!lines.ok())
        return {Label{}, lines.result};
    return {parse(lines.value), lines.result};
}

IoResult LabelFile::reload(const std::filesystem::path& file, Label& label) {
    auto lines = readExisting(file);
    if (!lines.ok())
        return lines.result;
    if (lines.value.empty())
        return lines.result;
    readHeader(lines.value.front(), label);
    for (std::size_t i = 1; i < lines.value.size() && i - 1 < label.elements.size(); ++i)
        label.elements[i - 1] = readElement(lines.value[i]);
    return lines.result;
}

IoResult LabelFile::save(const std::filesystem::path& file, const Label& label) {
    return RecordFile::writeLines(file, lines(label));
}

} // namespace korvan
