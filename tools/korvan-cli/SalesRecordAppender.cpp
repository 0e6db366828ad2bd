#include "SalesRecordAppender.h"

namespace korvan::cli {

IoResult SalesRecordAppender::append(const std::filesystem::path& file,
                                     const std::vector<SalesRecord>& records) {
    if (records.empty())
        return {};
    IoResult result;
    std::string bytes = RecordFile::readAll(file, &result);
    if (!result)
        return result;
    if (!bytes.empty() && bytes.back() != '\n')
        bytes += "\r\n";
    for (const SalesRecord& record : records) {
        bytes += RecordFile::joinFields({record.fields.begin(), record.fields.end()});
        bytes += "\r\n";
    }
    return RecordFile::writeAll(file, bytes);
}

} // namespace korvan::cli
