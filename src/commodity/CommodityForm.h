#pragma once
// What the commodity editor's ten controls hold. Text boxes hold code page 936 bytes (a box the
// operator did not touch keeps the bytes it was filled with); a drop-down list holds the value
// of its selected item, or none while nothing is selected.
#include <optional>
#include <string>

#include "CommodityRecord.h"

namespace korvan {

struct CommodityForm {
    std::string name;
    std::string code;
    std::string unitPrice;
    std::optional<PriceChange> priceChange;
    std::optional<SalesMode> salesMode;
    std::string tare;
    std::string shelfLife;
    std::optional<Discount> discount;
    std::string discountRate;
    std::string descriptionNumber;

    // The editor opened on a record (the list's working record), every drop-down selected.
    static CommodityForm from(const CommodityRecord& record);
    // The editor's Clear: the values of a new record.
    static CommodityForm cleared() { return from(CommodityRecord::newRecord()); }

    // The record the form describes. A drop-down without a selection takes the value an empty
    // word reads as; validation refuses such a form before it is ever stored.
    CommodityRecord toRecord() const;

    bool operator==(const CommodityForm&) const = default;
};

} // namespace korvan
