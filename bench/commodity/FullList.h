#pragma once
// The data the commodity benchmarks work on: a scratch data directory and a full list of 2000
// records with Chinese names.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "commodity/CommodityFile.h"
#include "common/DataDir.h"

namespace korvan::bench {

// A scratch data directory, current for the screens while it lives.
class Scratch {
public:
    Scratch() {
        std::string tmpl =
            (std::filesystem::temp_directory_path() / "korvan-bench-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
        DataDir::setCurrent(DataDir(path_));
    }
    ~Scratch() {
        DataDir::setCurrent(DataDir());
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    std::filesystem::path file() const { return path_ / "record" / "sp.rec"; }

private:
    std::filesystem::path path_;
};

inline std::vector<CommodityRecord> fullList() {
    std::vector<CommodityRecord> records;
    for (int i = 0; i < 2000; ++i) {
        CommodityRecord r = CommodityRecord::newRecord();
        r.name = "\xC6\xBB\xB9\xFB\xBA\xEC\xB8\xBB\xCA\xBF" + std::to_string(i); // 5 characters
        r.code = std::to_string(100000 + i);
        r.unitPrice = std::to_string(i % 100) + ".50";
        r.priceChange = i % 2 ? PriceChange::Yes : PriceChange::No;
        r.salesMode = i % 3 ? SalesMode::Weight : SalesMode::Quantity;
        r.tare = "15";
        r.shelfLife = "7";
        r.discountRate = "10";
        r.descriptionNumber = std::to_string(i % 33);
        records.push_back(std::move(r));
    }
    return records;
}

} // namespace korvan::bench
