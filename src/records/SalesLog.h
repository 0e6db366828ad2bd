#pragma once
// The sales records of record/dzcjl.rec as the record screen and the command line keep them: the
// records, how the last read of the file went, deletions, and the records read from the scale.
// Until the file could be read, nothing here writes it: that would lose the records it holds.
#include <cstddef>
#include <filesystem>
#include <vector>

#include "SalesRecordFile.h"
#include "SalesRecords.h"
#include "common/Language.h"
#include "common/TrackedFile.h"
#include "link/SalesRecord.h"

namespace korvan {

class SalesLog {
public:
    using Appended = SalesRecordFile::Appended;

    // The log of the sales file `file`; nothing is read yet.
    explicit SalesLog(std::filesystem::path file) : file_(std::move(file)) {}

    // Reads the file: every record, or none and the reason (see SalesRecords::load).
    void load();
    const SalesRecords& records() const { return records_; }
    // How the last read went; a failure stays until a read works.
    const IoResult& loadResult() const { return loadResult_; }

    // Deletes the rows given (indices into records()) and rewrites the file; the records change
    // only once the file holds the change. When another program wrote the file since it was read,
    // the operator is asked (in `lang`) to reload it (the deletion is not made), overwrite it or
    // cancel. After a failed read, refused with the reason.
    [[nodiscard]] TrackedFile::Saved erase(const std::vector<std::size_t>& rows, Lang lang);
    [[nodiscard]] TrackedFile::Saved eraseAll(Lang lang);

    // Adds records read from the scale to the file, as SalesRecordFile::append does (a sale
    // stored already is not stored twice; what another program wrote meanwhile stays); the
    // records are then the file's as it is.
    [[nodiscard]] Appended append(const std::vector<SalesRecord>& read);
    // A record as it arrives from scale `source` (the index of the scale in a read from several
    // scales): listed after the records at once, and stored in the file by storeReceived.
    void receive(const SalesRecord& record, std::size_t source = 0);
    // Stores what arrived, one append per scale in the order of the sources, so each scale's
    // records stand together; the counts are the sums, the result the first failure.
    [[nodiscard]] Appended storeReceived();

    // How many records the last read brought (from the scale that brought the most), and
    // whether it stopped at its limit: the scale may then hold more, which clearing it would
    // lose.
    std::size_t lastRead() const { return lastRead_; }
    bool mayHoldMore() const { return SalesRecordFile::mayHoldMore(lastRead_); }

private:
    TrackedFile::Saved save(SalesRecords records, Lang lang);

    TrackedFile file_;
    SalesRecords records_;
    IoResult loadResult_;
    std::vector<std::vector<SalesRecord>> received_; // by source
    std::size_t lastRead_ = 0;
};

} // namespace korvan
