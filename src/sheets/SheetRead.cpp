#include "SheetRead.h"

#include <cerrno>
#include <system_error>

#include "common/Language.h"

namespace korvan {

std::string SheetRead::message() const {
    static const Tr kNotSheet{"无法读取该表格文件, 文件已损坏或格式不对",
                              "The file is not a spreadsheet that can be read, or it is damaged"};
    static const Tr kTooLarge{"表格文件太大", "The spreadsheet file is too large"};
    static const Tr kUtf16{"不支持UTF-16编码: 请将文件另存为UTF-8或GBK编码",
                           "UTF-16 is not supported: save the file as UTF-8 or GBK"};
    switch (problem) {
    case Problem::None:
        return {};
    case Problem::File:
        return io.message();
    case Problem::NotSheet:
        return kNotSheet.get();
    case Problem::TooLarge:
        return kTooLarge.get();
    case Problem::Utf16:
        return kUtf16.get();
    }
    return {};
}

SheetRead SheetRead::load(const std::filesystem::path& file, std::string& bytes) {
    // The size is checked first, so a huge file is never read into memory.
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (!error && size > kMaxFileBytes)
        return failed(Problem::TooLarge, file.string() + " is larger than " +
                                             std::to_string(kMaxFileBytes) + " bytes");
    Loaded<std::string> loaded;
    if (error == std::errc::no_such_file_or_directory)
        loaded.result = IoResult::fileFailure(file, ENOENT);
    else
        loaded = RecordFile::readAll(file);
    if (!loaded) {
        const std::string reason = loaded.result.failure == IoResult::Failure::NotRegular
                                       ? "not a regular file"
                                       : std::generic_category().message(loaded.result.error);
        SheetRead refused = failed(Problem::File, "cannot read " + file.string() + ": " + reason);
        refused.io = loaded.result;
        return refused;
    }
    bytes = std::move(loaded.value);
    return {};
}

} // namespace korvan
