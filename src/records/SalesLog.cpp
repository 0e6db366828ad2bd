#include "SalesLog.h"

#include <algorithm>

namespace korvan {

void SalesLog::load() {
    auto loaded = SalesRecords::load(file_);
    records_ = std::move(loaded.value);
    loadResult_ = loaded.result;
}

TrackedFile::Saved SalesLog::erase(const std::vector<std::size_t>& rows, Lang lang) {
    SalesRecords kept = records_;
    kept.erase(rows);
    return save(std::move(kept), lang);
}

TrackedFile::Saved SalesLog::eraseAll(Lang lang) {
    return save(SalesRecords(), lang);
}

TrackedFile::Saved SalesLog::save(SalesRecords records, Lang lang) {
    if (!loadResult_)
        return {loadResult_};
    TrackedFile::Saved saved = file_.save(records.fileBytes(), lang);
    if (saved.written) {
        records_ = std::move(records);
    } else if (saved.reload) {
        // The file as another program left it; a failed read is the outcome then.
        load();
        saved.result = loadResult_;
    }
    return saved;
}

SalesLog::Appended SalesLog::append(const std::vector<SalesRecord>& read) {
    lastRead_ = read.size();
    Appended appended = SalesRecordFile::append(file_, read);
    if (read.empty() || !appended.result) {
        load(); // nothing new, or the file as it now is after a failure
    } else {
        records_ = std::move(appended.records);
        loadResult_ = {};
    }
    return appended;
}

void SalesLog::receive(const SalesRecord& record, std::size_t source) {
    if (received_.size() <= source)
        received_.resize(source + 1);
    received_[source].push_back(record);
    records_.append(record);
}

SalesLog::Appended SalesLog::storeReceived() {
    std::vector<std::vector<SalesRecord>> reads;
    reads.swap(received_);
    std::erase_if(reads, [](const auto& read) { return read.empty(); });
    if (reads.empty())
        return append({});
    Appended total;
    std::size_t most = 0;
    for (const std::vector<SalesRecord>& read : reads) {
        Appended one = append(read);
        most = std::max(most, read.size());
        total.added += one.added;
        total.alreadyThere += one.alreadyThere;
        if (total.result && !one.result)
            total.result = one.result;
        total.records = std::move(one.records);
    }
    lastRead_ = most;
    return total;
}

} // namespace korvan
