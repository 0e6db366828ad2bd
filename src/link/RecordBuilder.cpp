#include "RecordBuilder.h"

#include "link/Protocol.h"

#include <cstdio>
#include <initializer_list>

namespace korvan {
namespace {

// The choice codes of the full commodity format.
constexpr char kYesCode = '\x10';
constexpr char kNoCode = '\x11';

// The outbox is a zero-terminated text on the scale's side: a zero byte would cut the record.
std::string withoutZeros(std::string bytes) {
    std::erase(bytes, '\0');
    return bytes;
}

std::string record(std::initializer_list<std::string> fields) {
    std::string bytes;
    bool first = true;
    for (const std::string& field : fields) {
        if (!first)
            bytes += protocol::kFieldSeparator;
        bytes += withoutZeros(field);
        first = false;
    }
    bytes += protocol::kRecordEnd;
    return bytes;
}

std::string code(bool yes) {
    return std::string(1, yes ? kYesCode : kNoCode);
}

} // namespace

std::string RecordBuilder::commodityFull(const CommodityRow& row) {
    return record({
        "0000",
        row.name,
        row.code,
        row.unitPrice,
        code(row.priceChangeable),
        code(row.byWeight),
        row.tare,
        row.shelfLife,
        // 0x10 here means the commodity may NOT be discounted.
        code(!row.discountable),
        row.discountRate,
        row.descriptionNumber,
    });
}

std::string RecordBuilder::commodityShort(const CommodityRow& row) {
    std::string name = row.name;
    if (name.size() > kShortNameBytes)
        name.resize(kShortNameBytes); // bytes: the cut may split a two-byte character
    return record({"0000", name, row.unitPrice});
}

std::string RecordBuilder::labelHeader(const LabelHeader& header) {
    return record({header.shopNumber, header.width, header.height});
}

std::string RecordBuilder::directionByte(std::string_view direction) {
    if (direction == "0")
        return "\x80";
    if (direction == "90")
        return "\x83";
    if (direction == "180")
        return "\x82";
    if (direction == "270")
        return "\x81";
    return {};
}

std::string RecordBuilder::labelElement(const LabelElementRow& row, std::size_t index) {
    // Every row uses up its number, hidden rows included; a hidden row sends 0x80 instead.
    const char number =
        row.hidden ? '\x80' : static_cast<char>(static_cast<unsigned char>(0x81 + index));
    if (row.barCode) {
        return record({std::string(1, number), row.downX, row.downY,
                       row.bigFont ? row.barHeight : std::string(), "2",
                       directionByte(row.direction), row.name});
    }
    return record({std::string(1, number), row.downX, row.downY,
                   row.bigFont ? std::string("\x18") : std::string(), directionByte(row.direction),
                   row.sizeCode, row.name});
}

std::string RecordBuilder::description(const DescriptionRow& row) {
    return record({row.text});
}

std::string RecordBuilder::text(std::string_view text) {
    return record({std::string(text)});
}

std::string RecordBuilder::dateTimeText(const std::tm& local) {
    const int weekday = local.tm_wday == 0 ? 7 : local.tm_wday;
    const int year = (local.tm_year + 1900) % 100;
    char digits[32];
    std::snprintf(digits, sizeof digits, "%02d%d%02d%02d%02d%02d%02d", year, weekday,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return digits;
}

std::string RecordBuilder::build(const JobRequest& request, std::int64_t step) {
    if (step < 0)
        return {};
    const auto index = static_cast<std::size_t>(step);
    if (const auto* commodities = request.get<CommodityPayload>()) {
        if (index >= commodities->rows.size())
            return {};
        return commodities->family == ModelFamily::OrinKesa
                   ? commodityShort(commodities->rows[index])
                   : commodityFull(commodities->rows[index]);
    }
    if (const auto* label = request.get<LabelPayload>()) {
        if (index == 0)
            return labelHeader(label->header);
        if (index - 1 >= label->elements.size())
            return {};
        return labelElement(label->elements[index - 1], index - 1);
    }
    if (const auto* descriptions = request.get<DescriptionPayload>())
        return index < descriptions->rows.size() ? description(descriptions->rows[index])
                                                 : std::string();
    return std::visit(
        [index]<typename Payload>(const Payload& payload) -> std::string {
            if constexpr (requires { payload.text; })
                return index == 0 ? text(payload.text) : std::string();
            else
                return {}; // jobs without records
        },
        request.payload);
}

} // namespace korvan
