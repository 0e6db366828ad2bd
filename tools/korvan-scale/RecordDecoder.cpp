#include "RecordDecoder.h"

#include <cstdio>
#include <vector>

#include "Wire.h"

namespace korvan::sim {
namespace {

constexpr std::size_t kShortNameBytes = 10;
constexpr int kBarcodeIndex = 9;

std::vector<std::string_view> splitAll(std::string_view body) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const auto at = body.find(wire::kSeparator, start);
        if (at == std::string_view::npos) {
            fields.push_back(body.substr(start));
            return fields;
        }
        fields.push_back(body.substr(start, at - start));
        start = at + 1;
    }
}

std::string fieldCountError(std::size_t got, std::size_t want) {
    return "record has " + std::to_string(got) + " fields, expected " + std::to_string(want);
}

std::string byteText(std::string_view field) {
    std::string text;
    for (unsigned char c : field) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%s0x%02X", text.empty() ? "" : " ", c);
        text += hex;
    }
    return text.empty() ? "empty" : text;
}

// A choice code: 0x10 gives `ten`, 0x11 gives `eleven`, anything else nothing.
std::optional<std::string> choice(std::string_view field, const char* ten, const char* eleven) {
    if (field == "\x10")
        return std::string(ten);
    if (field == "\x11")
        return std::string(eleven);
    return std::nullopt;
}

// Direction byte to degrees; an empty field stays empty (the PC sends none for an unknown cell).
std::optional<std::string> direction(std::string_view field) {
    if (field.empty())
        return std::string();
    if (field.size() == 1) {
        switch (static_cast<unsigned char>(field[0])) {
        case 0x80:
            return std::string("0");
        case 0x81:
            return std::string("270");
        case 0x82:
            return std::string("180");
        case 0x83:
            return std::string("90");
        }
    }
    return std::nullopt;
}

std::optional<std::string> sizeCode(std::string_view field) {
    if (field.empty())
        return std::string();
    if (field.size() == 1) {
        switch (static_cast<unsigned char>(field[0])) {
        case 0x11:
            return std::string("12*24");
        case 0x20:
            return std::string("12*48");
        case 0x02:
            return std::string("24*24");
        case 0x22:
            return std::string("24*48");
        }
    }
    return std::nullopt;
}

int twoDigits(std::string_view text, std::size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

} // namespace

Decoded<std::string> RecordDecoder::body(std::string_view message) {
    const std::size_t endSize = wire::kRecordEnd.size();
    if (message.size() < endSize || message.substr(message.size() - endSize) != wire::kRecordEnd)
        return Decoded<std::string>::fail("record does not end with CR LF");
    if (message.find('\0') != std::string_view::npos)
        return Decoded<std::string>::fail("record holds a zero byte");
    return {std::string(message.substr(0, message.size() - endSize)), {}};
}

Decoded<CommodityRecord> RecordDecoder::commodity(std::string_view body, bool fullFormat) {
    using Result = Decoded<CommodityRecord>;
    const auto f = splitAll(body);
    const std::size_t want = fullFormat ? 11 : 3;
    if (f.size() != want)
        return Result::fail(fieldCountError(f.size(), want));
    if (f[0] != "0000")
        return Result::fail("field 1 is not \"0000\"");
    CommodityRecord r;
    r.name = f[1];
    if (!fullFormat) {
        if (r.name.size() > kShortNameBytes)
            return Result::fail("name longer than 10 bytes in the short format");
        r.price = f[2];
        return {r, {}};
    }
    r.code = f[2];
    r.price = f[3];
    auto priceChange = choice(f[4], "Yes", "No");
    auto salesMode = choice(f[5], "weight", "quantity");
    // The discount code runs the other way: 0x10 means no discount allowed.
    auto discount = choice(f[8], "No", "Yes");
    if (!priceChange)
        return Result::fail("price change code is " + byteText(f[4]));
    if (!salesMode)
        return Result::fail("sales mode code is " + byteText(f[5]));
    if (!discount)
        return Result::fail("discount code is " + byteText(f[8]));
    r.priceChange = *priceChange;
    r.salesMode = *salesMode;
    r.tare = f[6];
    r.shelfLife = f[7];
    r.discount = *discount;
    r.discountRate = f[9];
    r.description = f[10];
    return {r, {}};
}

Decoded<LabelHeader> RecordDecoder::labelHeader(std::string_view body) {
    const auto f = splitAll(body);
    if (f.size() != 3)
        return Decoded<LabelHeader>::fail(fieldCountError(f.size(), 3));
    return {LabelHeader{std::string(f[0]), std::string(f[1]), std::string(f[2])}, {}};
}

Decoded<LabelElement> RecordDecoder::labelElement(std::string_view body, int index) {
    using Result = Decoded<LabelElement>;
    const auto f = splitAll(body);
    if (f.size() != 7)
        return Result::fail(fieldCountError(f.size(), 7));
    // Every element uses up its number, hidden ones too: 0x81 + index, or 0x80 when hidden.
    const auto expected = static_cast<unsigned char>(0x81 + index);
    if (f[0].size() != 1 || (static_cast<unsigned char>(f[0][0]) != 0x80 &&
                             static_cast<unsigned char>(f[0][0]) != expected))
        return Result::fail("element number is " + byteText(f[0]) + ", expected 0x80 or " +
                            byteText(std::string(1, static_cast<char>(expected))));
    LabelElement e;
    e.index = index;
    e.number = static_cast<unsigned char>(f[0][0]);
    e.shown = e.number != 0x80;
    e.barcode = index == kBarcodeIndex;
    e.x = f[1];
    e.y = f[2];
    e.name = f[6];
    if (e.barcode) {
        // Bar code: field 4 is the bar height (sent only with the 12*24 digit font), field 5 the
        // fixed "2", field 6 the direction.
        e.font = f[3].empty() ? "9*17" : "12*24";
        e.size = f[3];
        if (f[4] != "2")
            return Result::fail("bar code field 5 is " + byteText(f[4]) + ", expected \"2\"");
        auto dir = direction(f[5]);
        if (!dir)
            return Result::fail("direction code is " + byteText(f[5]));
        e.direction = *dir;
        return {e, {}};
    }
    if (f[3].empty())
        e.font = "9*17";
    else if (f[3] == "\x18")
        e.font = "12*24";
    else
        return Result::fail("font code is " + byteText(f[3]));
    auto dir = direction(f[4]);
    if (!dir)
        return Result::fail("direction code is " + byteText(f[4]));
    auto size = sizeCode(f[5]);
    if (!size)
        return Result::fail("size code is " + byteText(f[5]));
    e.direction = *dir;
    e.size = *size;
    return {e, {}};
}

Decoded<DateTimeSetting> RecordDecoder::dateTime(std::string_view body) {
    using Result = Decoded<DateTimeSetting>;
    if (body.size() != 13)
        return Result::fail("date and time has " + std::to_string(body.size()) +
                            " characters, expected 13");
    for (char c : body)
        if (c < '0' || c > '9')
            return Result::fail("date and time holds a character that is not a digit");
    DateTimeSetting t;
    t.text = body;
    t.year = 2000 + twoDigits(body, 0);
    t.weekday = body[2] - '0';
    t.month = twoDigits(body, 3);
    t.day = twoDigits(body, 5);
    t.hour = twoDigits(body, 7);
    t.minute = twoDigits(body, 9);
    t.second = twoDigits(body, 11);
    if (t.weekday < 1 || t.weekday > 7 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 ||
        t.hour > 23 || t.minute > 59 || t.second > 59)
        return Result::fail("date and time out of range: " + t.text);
    return {t, {}};
}

} // namespace korvan::sim
