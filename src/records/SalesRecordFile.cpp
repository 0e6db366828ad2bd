#include "SalesRecordFile.h"

#include "SalesRecords.h"

namespace korvan {

IoResult SalesRecordFile::append(const std::filesystem::path& file,
                                 const std::vector<SalesRecord>& records) {
    if (records.empty())
        return {};
    auto loaded = RecordFile::readAll(file);
    if (!loaded)
        return loaded.result;
    std::string& bytes = loaded.value;
    if (!bytes.empty() && bytes.back() != '\n')
        bytes += "\r\n";
    for (const SalesRecord& record : records) {
        bytes += SalesRecords::storableLine(record.fields);
        bytes += "\r\n";
    }
    return RecordFile::writeAll(file, bytes);
}

} // namespace korvan
