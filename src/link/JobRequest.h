#pragma once
// Everything a transfer job takes from the screen (or the command line) that starts it. Texts are
// GBK bytes, exactly as the lists and fields hold them; choices are values, so the record builder
// never has to recognise the words a screen shows for them.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "link/JobKind.h"
#include "link/SalesRecord.h"

namespace korvan {

// One commodity as the commodity download sends it.
struct CommodityRow {
    std::string name;
    std::string code;
    std::string unitPrice;
    bool priceChangeable = false; // the price may be changed at the scale
    bool byWeight = false;        // sold by weight, otherwise by quantity
    std::string tare;
    std::string shelfLife;
    bool discountable = false;
    std::string discountRate;
    std::string descriptionNumber;

    bool operator==(const CommodityRow&) const = default;
};

// One commodity description; only the text is sent, the number names the row.
struct DescriptionRow {
    std::string number;
    std::string text;

    bool operator==(const DescriptionRow&) const = default;
};

// One element record as the label core decided it. The link knows no font or size names: it
// sends the code bytes and choices it is given. Explain and X/Y position are not sent (the scale
// takes Down.X/Down.Y).
struct LabelElementRow {
    std::string name;
    std::string direction; // "0", "90", "180" or "270"
    bool bigFont = false;  // printed in the scale's big font
    bool barCode = false;  // the bar code element
    std::string sizeCode;  // a text element's size code byte; empty when it names no size
    std::string barHeight; // the bar code's bar height in mm, as text
    bool hidden = false;   // the scale leaves the element out
    std::string downX;
    std::string downY;

    bool operator==(const LabelElementRow&) const = default;
};

struct LabelHeader {
    std::string shopNumber;
    std::string width;
    std::string height;
};

struct JobRequest {
    JobKind kind = JobKind::CommodityDownload;
    // The rows of a list download, first row first; only those of `kind` are used.
    std::vector<CommodityRow> commodities;
    ModelFamily family = ModelFamily::Vamo;
    LabelHeader labelHeader;
    std::vector<LabelElementRow> labelElements;
    std::vector<DescriptionRow> descriptions;
    // The one text of a store text or date and time download (the 13-digit text).
    std::string text;
    // Program update: the image to send.
    std::filesystem::path updateFile;
    // Read records: the record list's row count when the job starts, and where each record
    // goes as it arrives (called on the thread that processes the transfer).
    long recordRowCount = 0;
    std::function<void(const SalesRecord&)> recordSink;

    // The number of list rows the job sends (0 for jobs without a list).
    std::size_t rowCount() const {
        switch (kind) {
        case JobKind::CommodityDownload:
            return commodities.size();
        case JobKind::LabelDownload:
            return labelElements.size();
        case JobKind::DescriptionDownload:
            return descriptions.size();
        default:
            return 0;
        }
    }
};

} // namespace korvan
