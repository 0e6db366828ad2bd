#include "CommodityForm.h"

namespace korvan {

CommodityForm CommodityForm::from(const CommodityRecord& r) {
    return CommodityForm{r.name, r.code,      r.unitPrice, r.priceChange,  r.salesMode,
                         r.tare, r.shelfLife, r.discount,  r.discountRate, r.descriptionNumber};
}

CommodityRecord CommodityForm::toRecord() const {
    CommodityRecord r;
    r.name = name;
    r.code = code;
    r.unitPrice = unitPrice;
    r.priceChange = priceChange.value_or(PriceChange::No);
    r.salesMode = salesMode.value_or(SalesMode::Quantity);
    r.tare = tare;
    r.shelfLife = shelfLife;
    r.discount = discount.value_or(Discount::No);
    r.discountRate = discountRate;
    r.descriptionNumber = descriptionNumber;
    return r;
}

} // namespace korvan
