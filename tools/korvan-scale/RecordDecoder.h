#pragma once
// Turns the records the PC downloads back into their fields. A record is fields joined by 0x0C
// and ended by CR LF; the layout depends on the job. The scale refuses (data error) a record it
// cannot decode, so every check here is one a correct PC always passes.
#include <optional>
#include <string>
#include <string_view>

namespace korvan::sim {

// A commodity as the scale stores it. Choice fields hold the words of the PC's commodity file:
// price change "Yes"/"No", sales mode "weight"/"quantity", discount "Yes"/"No". The short format
// fills name and price only.
struct CommodityRecord {
    std::string name, code, price, priceChange, salesMode, tare, shelfLife, discount, discountRate,
        description;
};

struct LabelHeader {
    std::string shopNumber, width, height;
};

// One element of the label layout. Texts are as the scale understands them: font "12*24" or
// "9*17"; direction "0", "90", "180", "270" or empty when none was sent; size "12*24", "12*48",
// "24*24", "24*48" or empty (for the bar code element: the bar height text).
struct LabelElement {
    int index = 0;            // position in the layout, 0-based
    unsigned char number = 0; // element number byte as sent
    bool shown = true;        // false when the number byte is 0x80
    bool barcode = false;     // the tenth element is the bar code
    std::string x, y, font, direction, size, name;
};

// The 13-digit clock text: year, weekday (Monday 1 .. Sunday 7), month, day, hour, minute, second.
struct DateTimeSetting {
    std::string text;
    int year = 0, weekday = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

template <class T> struct Decoded {
    std::optional<T> value;
    std::string error; // why the record was refused, when value is empty

    explicit operator bool() const { return value.has_value(); }
    static Decoded fail(std::string why) { return {std::nullopt, std::move(why)}; }
};

class RecordDecoder {
public:
    // The record's content without its CR LF end. Refuses a message without the end and one
    // holding a zero byte (a record never does).
    static Decoded<std::string> body(std::string_view message);

    // Full format (11 fields, command 0x13) or short format (3 fields, command 0x03).
    static Decoded<CommodityRecord> commodity(std::string_view body, bool fullFormat);
    static Decoded<LabelHeader> labelHeader(std::string_view body);
    // `index` is the element's position: the first element record after the header is 0.
    static Decoded<LabelElement> labelElement(std::string_view body, int index);
    static Decoded<DateTimeSetting> dateTime(std::string_view body);
};

} // namespace korvan::sim
