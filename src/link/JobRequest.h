#pragma once
// Everything a transfer job takes from the screen (or the command line) that starts it. Texts are
// GBK bytes, exactly as the lists and fields hold them; choices are values, so the record builder
// never has to recognise the words a screen shows for them.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <variant>
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

// One payload per job kind, so a request cannot carry another job's rows. Each names its kind.
struct CommodityPayload {
    static constexpr JobKind kKind = JobKind::CommodityDownload;
    std::vector<CommodityRow> rows; // first row first
    ModelFamily family = ModelFamily::Vamo;
};

struct LabelPayload {
    static constexpr JobKind kKind = JobKind::LabelDownload;
    LabelHeader header;
    std::vector<LabelElementRow> elements;
};

struct DescriptionPayload {
    static constexpr JobKind kKind = JobKind::DescriptionDownload;
    std::vector<DescriptionRow> rows;
};

// The one text of a store text or the date and time download (the 13-digit text).
template <JobKind K> struct TextPayload {
    static constexpr JobKind kKind = K;
    std::string text;
};
using StoreNamePayload = TextPayload<JobKind::StoreNameDownload>;
using ShopPhonePayload = TextPayload<JobKind::ShopPhoneDownload>;
using StoreAddressPayload = TextPayload<JobKind::StoreAddressDownload>;
using DateTimePayload = TextPayload<JobKind::DateTimeDownload>;

struct ReadRecordsPayload {
    static constexpr JobKind kKind = JobKind::ReadRecords;
    // The record list's row count when the job starts, and where each record goes as it arrives
    // (called on the thread that processes the transfer).
    long recordRowCount = 0;
    std::function<void(const SalesRecord&)> sink;
};

struct ClearRecordsPayload {
    static constexpr JobKind kKind = JobKind::ClearRecords;
};

struct UpdatePayload {
    static constexpr JobKind kKind = JobKind::ProgramUpdate;
    std::filesystem::path file; // the image to send
};

// In the order of JobKind, so a payload's index is its kind.
using JobPayload =
    std::variant<CommodityPayload, LabelPayload, DescriptionPayload, StoreNamePayload,
                 ShopPhonePayload, StoreAddressPayload, DateTimePayload, ReadRecordsPayload,
                 ClearRecordsPayload, UpdatePayload>;

struct JobRequest {
    JobPayload payload;

    JobKind kind() const { return static_cast<JobKind>(payload.index()); }
    // The number of list rows the job sends (0 for jobs without a list).
    std::size_t rowCount() const;
    // The command byte, by the model family for a commodity download.
    std::uint8_t commandByte() const;

    template <typename Payload> const Payload* get() const {
        return std::get_if<Payload>(&payload);
    }
};

} // namespace korvan
