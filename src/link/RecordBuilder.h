#pragma once
// The bytes of every download record: fields joined by the field separator, ended by the record
// end. Text fields are sent unchanged; choices and direction cells become one code byte.
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "link/JobRequest.h"

namespace korvan {

class RecordBuilder {
public:
    static constexpr std::size_t kShortNameBytes = 10;

    // The record a download job sends at `step` (0-based); empty for jobs without records and
    // for a step past the rows.
    static std::string build(const JobRequest& request, std::int64_t step);

    // Full commodity format (model family Vamo). Choice codes: 0x10 for a changeable price, for
    // sale by weight and for a commodity that may NOT be discounted; 0x11 otherwise.
    static std::string commodityFull(const CommodityRow& row);
    // Short commodity format (model family Orin Kesa): name cut to 10 bytes, unit price.
    static std::string commodityShort(const CommodityRow& row);
    static std::string labelHeader(const LabelHeader& header);
    // The element record of row `index` of the label's element list (the number byte counts
    // the rows).
    static std::string labelElement(const LabelElementRow& row, std::size_t index);
    // The description text alone; the number is not sent.
    static std::string description(const DescriptionRow& row);
    // A record of one text field (store name, shop phone, store address, date and time).
    static std::string text(std::string_view text);

    // The 13 digits the scale takes as its clock: year without its century, day of week
    // (Monday 1 .. Sunday 7), month, day, hour, minute, second.
    static std::string dateTimeText(const std::tm& local);

    // The code byte of a direction cell ("" when the cell is none of the four directions).
    static std::string directionByte(std::string_view cell);
};

} // namespace korvan
