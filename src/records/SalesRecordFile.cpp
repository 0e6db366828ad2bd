#include "SalesRecordFile.h"

#include "common/DataLock.h"
#include "common/Text.h"
#include "link/JobKind.h"

#include <deque>
#include <string>
#include <unordered_set>

namespace korvan {

namespace {

// Puts each record after the file's bytes unless a line of the file or an earlier record of the
// batch is the same (all five fields, as stored); counts both.
void addNew(std::string& bytes, const std::vector<SalesRecord>& records,
            SalesRecordFile::Appended& appended) {
    // The stored line of every row, looked up without a copy where the line has all five fields.
    const SalesRecords existing = SalesRecords::fromBytes(bytes);
    std::deque<std::string> owned;
    std::unordered_set<std::string_view> lines;
    lines.reserve(existing.size() + records.size());
    std::string scratch;
    for (std::size_t row = 0; row < existing.size(); ++row) {
        const std::string_view line = existing.joinedLine(row, scratch);
        lines.insert(line.data() == scratch.data() ? std::string_view(owned.emplace_back(line))
                                                   : line);
    }

    if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r')
        bytes += "\r\n";
    for (const SalesRecord& record : records) {
        std::string line = SalesRecords::storableLine(record.fields);
        if (lines.contains(line)) {
            ++appended.alreadyThere;
            continue;
        }
        bytes += line;
        bytes += "\r\n";
        lines.insert(owned.emplace_back(std::move(line)));
        ++appended.added;
    }
}

} // namespace

SalesRecordFile::Appended SalesRecordFile::append(TrackedFile& file,
                                                  const std::vector<SalesRecord>& records) {
    Appended appended;
    if (records.empty())
        return appended;
    const DataLock lock(file.path());
    auto loaded = file.readAll();
    if (!loaded) {
        appended.result = loaded.result;
        return appended;
    }
    std::string& bytes = loaded.value;
    const std::size_t before = bytes.size();
    addNew(bytes, records, appended);
    if (appended.added > 0)
        appended.result = file.writeAll(bytes, true);
    if (appended.added == 0 || !appended.result)
        bytes.resize(before); // the file as it still is
    appended.records = SalesRecords::fromBytes(std::move(bytes));
    return appended;
}

SalesRecordFile::Appended SalesRecordFile::append(const std::filesystem::path& file,
                                                  const std::vector<SalesRecord>& records) {
    TrackedFile tracked(file);
    return append(tracked, records);
}

std::string SalesRecordFile::appendedText(const Appended& appended, Lang lang) {
    static constexpr Tr kText{"新记录%1条, 已有%2条", "%1 new, %2 already there"};
    return Text::fillIn(kText.get(lang),
                        {std::to_string(appended.added), std::to_string(appended.alreadyThere)});
}

std::string SalesRecordFile::mayHoldMoreText(std::size_t read, Lang lang) {
    static constexpr Tr kText{
        "已读取%1条记录; 秤中可能还有更多记录: 请先导出这些记录, 再清除秤中的记录",
        "%1 records read; the scale may hold more: clear them only after "
        "exporting these"};
    return Text::fillIn(kText.get(lang), {std::to_string(read)});
}

static_assert(SalesRecordFile::kMaxReadLines == JobKinds::kReadRecordsSteps - 1);

} // namespace korvan
