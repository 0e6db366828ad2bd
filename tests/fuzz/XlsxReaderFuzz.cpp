// The .xlsx reader on arbitrary bytes. Inputs starting with "PK" are taken as the file itself;
// any other input is a sheet and its shared strings (split at the first NUL) packed into a
// workbook here, so the XML side is reached without the fuzzer having to learn zip first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <zip.h>

#include "sheets/XlsxReader.h"

using namespace korvan;

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

std::string workbookOf(std::string_view sheet, std::string_view strings) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t* zip = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    require(zip != nullptr);
    zip_source_keep(buffer);
    const std::pair<const char*, std::string_view> parts[] = {{"xl/worksheets/sheet1.xml", sheet},
                                                              {"xl/sharedStrings.xml", strings}};
    for (const auto& [name, data] : parts) {
        zip_source_t* source = zip_source_buffer(zip, data.data(), data.size(), 0);
        const zip_int64_t index = zip_file_add(zip, name, source, 0);
        require(index >= 0);
        zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    require(zip_close(zip) == 0);
    require(zip_source_open(buffer) == 0);
    zip_source_seek(buffer, 0, SEEK_END);
    std::string bytes(std::size_t(zip_source_tell(buffer)), '\0');
    zip_source_seek(buffer, 0, SEEK_SET);
    require(zip_source_read(buffer, bytes.data(), bytes.size()) == zip_int64_t(bytes.size()));
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    SheetRead read;
    if (input.starts_with("PK")) {
        read = XlsxReader::parse(input);
    } else {
        const auto split = input.find('\0');
        const std::string_view sheet = input.substr(0, split);
        const std::string_view strings =
            split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
        read = XlsxReader::parse(workbookOf(sheet, strings));
    }

    if (!read) {
        require(read.rows.empty() && !read.detail.empty());
        return 0;
    }
    std::size_t cells = 0;
    for (const SheetRow& row : read.rows) {
        require(row.line >= 1 && row.line <= 1048576);
        require(!row.cells.empty() && !row.cells.back().empty());
        require(row.cells.size() <= 16384);
        cells += row.cells.size();
    }
    require(cells <= SheetRead::kMaxCells);
    return 0;
}
