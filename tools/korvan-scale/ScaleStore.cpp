#include "ScaleStore.h"

#include <cstdio>

#include "ReadableText.h"

namespace korvan::sim {
namespace {

using ReadableText::fromGbk;

const char* weekdayName(int weekday) {
    static const char* const names[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                        "Friday", "Saturday", "Sunday"};
    return weekday >= 1 && weekday <= 7 ? names[weekday - 1] : "?";
}

std::string joinTabs(const std::vector<std::string>& values) {
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += '\t';
        line += values[i];
    }
    return line + "\n";
}

std::string countText(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

ScaleStore::ScaleStore(std::filesystem::path folder)
    : folder_(std::move(folder)), sales_(std::make_shared<std::vector<SalesRecord>>()) {}

IoResult ScaleStore::prepare() const {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    if (!ec && !std::filesystem::is_directory(folder_, ec))
        ec = std::make_error_code(std::errc::not_a_directory);
    return ec ? IoResult::fileFailure(folder_, ec.value()) : IoResult{};
}

IoResult ScaleStore::write(const char* name, const std::string& text) const {
    return RecordFile::writeAll(file(name), text);
}

IoResult ScaleStore::saveCommodities(const std::vector<CommodityRecord>& records,
                                     bool fullFormat) const {
    std::string text = "# commodities, ";
    text += fullFormat ? "full format (command 0x13), " : "short format (command 0x03), ";
    text += countText(records.size(), "record", "records") + "\n";
    if (fullFormat)
        text += "# plu\tname\tcode\tprice\tprice-change\tsales-mode\ttare\tshelf-life\tdiscount\t"
                "discount-rate\tdescription\n";
    else
        text += "# plu\tname\tprice\n";
    for (std::size_t i = 0; i < records.size(); ++i) {
        const auto& r = records[i];
        if (fullFormat)
            text +=
                joinTabs({std::to_string(i + 1), fromGbk(r.name), fromGbk(r.code), fromGbk(r.price),
                          r.priceChange, r.salesMode, fromGbk(r.tare), fromGbk(r.shelfLife),
                          r.discount, fromGbk(r.discountRate), fromGbk(r.description)});
        else
            text += joinTabs({std::to_string(i + 1), fromGbk(r.name), fromGbk(r.price)});
    }
    return write(kCommodities, text);
}

IoResult ScaleStore::saveDescriptions(const std::vector<std::string>& texts) const {
    std::string text = "# descriptions (command 0x15), " +
                       countText(texts.size(), "record", "records") + "\n# entry\ttext\n";
    for (std::size_t i = 0; i < texts.size(); ++i)
        text += joinTabs({std::to_string(i + 1), fromGbk(texts[i])});
    return write(kDescriptions, text);
}

IoResult ScaleStore::saveLabel(const LabelHeader& header,
                               const std::vector<LabelElement>& elements) const {
    std::string text = "# label (command 0x06): header and " +
                       countText(elements.size(), "element", "elements") + "\n";
    text += joinTabs({"shop-number", fromGbk(header.shopNumber)});
    text += joinTabs({"width", fromGbk(header.width)});
    text += joinTabs({"height", fromGbk(header.height)});
    text += "# element\tnumber\tstate\tkind\tx\ty\tfont\tdirection\tsize\tname\n";
    for (const auto& e : elements) {
        char number[8];
        std::snprintf(number, sizeof number, "0x%02X", e.number);
        text += joinTabs({std::to_string(e.index), number, e.shown ? "shown" : "hidden",
                          e.barcode ? "barcode" : "text", fromGbk(e.x), fromGbk(e.y), e.font,
                          e.direction, fromGbk(e.size), fromGbk(e.name)});
    }
    return write(kLabel, text);
}

IoResult ScaleStore::saveStoreText(ScaleJob job, std::string_view text) const {
    const char* name = job == ScaleJob::StoreName   ? kStoreName
                       : job == ScaleJob::ShopPhone ? kShopPhone
                                                    : kStoreAddress;
    return write(name, fromGbk(text) + "\n");
}

IoResult ScaleStore::saveDateTime(const DateTimeSetting& t) const {
    char when[64];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    std::string text = joinTabs({"sent", t.text});
    text += joinTabs({"time", when});
    text += joinTabs({"weekday", std::to_string(t.weekday) + " " + weekdayName(t.weekday)});
    return write(kClock, text);
}

IoResult ScaleStore::saveImage(std::string_view image) const {
    return RecordFile::writeAll(file(kImage), image);
}

std::string ScaleStore::salesText(const std::vector<SalesRecord>& records) {
    std::string text = "# sales records served, " + countText(records.size(), "record", "records") +
                       "\n# time\tname\tweight-or-quantity\tprice\ttotal\n";
    for (const auto& r : records)
        text +=
            joinTabs({fromGbk(r[0]), fromGbk(r[1]), fromGbk(r[2]), fromGbk(r[3]), fromGbk(r[4])});
    return text;
}

Loaded<std::vector<SalesRecord>> ScaleStore::parseSalesText(std::string_view text) {
    std::vector<SalesRecord> records;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        SalesRecord record;
        std::size_t field = 0;
        std::size_t from = 0;
        bool ok = true;
        while (ok) {
            const auto tab = line.find('\t', from);
            const auto piece = line.substr(from, tab == std::string_view::npos ? tab : tab - from);
            if (field >= record.size()) {
                ok = false;
                break;
            }
            auto bytes = ReadableText::toGbk(piece);
            if (!bytes) {
                ok = false;
                break;
            }
            record[field++] = std::move(*bytes);
            if (tab == std::string_view::npos)
                break;
            from = tab + 1;
        }
        if (!ok || field != record.size())
            return {{},
                    IoResult::failed("line " + std::to_string(lineNumber) +
                                     ": expected 5 tab-separated fields of readable text")};
        records.push_back(std::move(record));
    }
    return {std::move(records), {}};
}

IoResult ScaleStore::replaceSales(std::vector<SalesRecord> records) {
    auto result = write(kSales, salesText(records));
    if (result)
        sales_ = std::make_shared<const std::vector<SalesRecord>>(std::move(records));
    return result;
}

IoResult ScaleStore::loadSales() {
    const auto text = RecordFile::readAll(file(kSales));
    if (!text)
        return text.result;
    auto records = parseSalesText(text.value);
    if (!records)
        return IoResult::failed(file(kSales).string() + ", " + records.result.detail);
    sales_ = std::make_shared<const std::vector<SalesRecord>>(std::move(records.value));
    return {};
}

} // namespace korvan::sim
