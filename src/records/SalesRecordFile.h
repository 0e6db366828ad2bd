#pragma once
// The sales record file record/dzcjl.rec: one record per line, five fields joined by form feeds,
// CR LF after each line.
#include <cstddef>
#include <filesystem>
#include <vector>

#include "common/DataDir.h"
#include "common/Language.h"
#include "SalesRecords.h"
#include "common/RecordFile.h"
#include "common/TrackedFile.h"
#include "link/SalesRecord.h"

namespace korvan {

class SalesRecordFile {
public:
    // The file of the sales records in a data folder.
    static std::filesystem::path file(const DataDir& dir) { return dir.record("dzcjl.rec"); }
    struct Appended {
        IoResult result;
        std::size_t added = 0;        // records written after the file's lines
        std::size_t alreadyThere = 0; // records the file, or the same batch, held already
        // When there were records and the file could be read: its records as they are now (as
        // read, with those written after them when the write went through).
        SalesRecords records;
    };

    // Adds the records read from the scale after the lines in the file, rewriting the whole file
    // atomically. The file is read again under the data folder's lock, so lines another program
    // appended in the meantime are kept. A record equal to a line of the file or to an earlier
    // record of the batch (all five fields, as stored) is not written again: reading twice, or a
    // repeated datagram, does not count a sale twice.
    // A file whose last line lacks its line end gets one first, so no two records share a line.
    // Each record is written as SalesRecords stores it, so a line break or form feed inside a
    // field cannot split its line. The lines already there keep their bytes. Nothing new leaves
    // the file untouched. A file that cannot be read is refused and left as it was: writing
    // without its lines would lose them. A tracked file takes the file as written (or read) as
    // the one it knows.
    static Appended append(TrackedFile& file, const std::vector<SalesRecord>& records);
    static Appended append(const std::filesystem::path& file,
                           const std::vector<SalesRecord>& records);

    // What an append came to: "120 new, 3 already there".
    static std::string appendedText(const Appended& appended, Lang lang);

    // The most lines one read takes from the scale (its first step is the request). A read that
    // brought this many may have left records in the scale.
    static constexpr std::size_t kMaxReadLines = 1999;
    static bool mayHoldMore(std::size_t read) { return read >= kMaxReadLines; }
    // The warning after such a read, and before Clear records: clearing now would lose sales.
    static std::string mayHoldMoreText(std::size_t read, Lang lang);
};

} // namespace korvan
