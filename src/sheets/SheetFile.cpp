#include "SheetFile.h"

#include "CsvReader.h"
#include "XlsxReader.h"

namespace korvan::SheetFile {

SheetRead read(const std::filesystem::path& file) {
    return SheetRead::readFile(file, [](std::string_view bytes) {
        return bytes.starts_with("PK\x03\x04") ? XlsxReader::parse(bytes) : CsvReader::parse(bytes);
    });
}

} // namespace korvan::SheetFile
