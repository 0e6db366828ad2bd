#pragma once
// Everything a transfer job takes from the screen (or the command line) that starts it. Data
// is GBK bytes, exactly as the screen's cells and fields hold them.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "link/JobKind.h"
#include "link/SalesRecord.h"

namespace korvan {

using Row = std::vector<std::string>;

struct LabelHeader {
    std::string shopNumber;
    std::string width;
    std::string height;
};

struct JobRequest {
    JobKind kind = JobKind::CommodityDownload;
    // List rows for the commodity, label element and description downloads, in list column
    // order (commodity: ten columns; label elements: ten; descriptions: number, text).
    std::vector<Row> rows;
    ModelFamily family = ModelFamily::Vamo;
    LabelHeader labelHeader;
    // The one text of a store text or date and time download (the 13-digit text).
    std::string text;
    // Program update: the image to send.
    std::filesystem::path updateFile;
    // Read records: the record list's row count when the job starts, and where each record
    // goes as it arrives (called on the thread that processes the transfer).
    long recordRowCount = 0;
    std::function<void(const SalesRecord&)> recordSink;
};

} // namespace korvan
