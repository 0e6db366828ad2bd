#pragma once
// The simulated scale's memory: one readable file per kind of data in a store folder (UTF-8 text,
// LF line ends; data bytes shown through ReadableText). Each save replaces the file of its kind
// atomically, so a failed save leaves the previous data as it was.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "RecordDecoder.h"
#include "SalesRecords.h"
#include "ScaleJob.h"
#include "common/RecordFile.h"

namespace korvan::sim {

class ScaleStore {
public:
    static constexpr const char* kCommodities = "commodities.txt";
    static constexpr const char* kDescriptions = "descriptions.txt";
    static constexpr const char* kLabel = "label.txt";
    static constexpr const char* kStoreName = "store-name.txt";
    static constexpr const char* kShopPhone = "shop-phone.txt";
    static constexpr const char* kStoreAddress = "store-address.txt";
    static constexpr const char* kClock = "clock.txt";
    static constexpr const char* kSales = "sales.txt";
    static constexpr const char* kImage = "image.bin";
    static constexpr const char* kRawLog = "raw.log";

    explicit ScaleStore(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path file(const char* name) const { return folder_ / name; }
    // Creates the folder when it is missing.
    IoResult prepare() const;

    IoResult saveCommodities(const std::vector<CommodityRecord>& records, bool fullFormat) const;
    IoResult saveDescriptions(const std::vector<std::string>& texts) const;
    IoResult saveLabel(const LabelHeader& header, const std::vector<LabelElement>& elements) const;
    // `job` is StoreName, ShopPhone or StoreAddress.
    IoResult saveStoreText(ScaleJob job, std::string_view text) const;
    IoResult saveDateTime(const DateTimeSetting& setting) const;
    IoResult saveImage(std::string_view image) const;

    // The records served now. A read records job keeps the list it started with, even when
    // another job clears the records meanwhile.
    using SalesList = std::shared_ptr<const std::vector<SalesRecord>>;
    SalesList sales() const { return sales_; }
    // Writes sales.txt, then serves the new records (the old ones stay when the write fails).
    IoResult replaceSales(std::vector<SalesRecord> records);
    // Serves the records of sales.txt from an earlier run; a missing file gives none. Fails when
    // the file cannot be read or parsed.
    IoResult loadSales();

    static std::string salesText(const std::vector<SalesRecord>& records);
    // The records of sales.txt's text; a failure's detail names the line.
    static Loaded<std::vector<SalesRecord>> parseSalesText(std::string_view text);

private:
    IoResult write(const char* name, const std::string& text) const;

    std::filesystem::path folder_;
    SalesList sales_;
};

} // namespace korvan::sim
