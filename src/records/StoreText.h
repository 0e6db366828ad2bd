#pragma once
// The three texts the scale prints on its receipts, as record/xpwz.rec keeps them (code page 936
// bytes, each on its own line).
#include <string>

#include "link/JobRequest.h"

namespace korvan {

struct StoreText {
    enum class Field { StoreName, ShopPhone, StoreAddress };

    std::string storeName;
    std::string shopPhone;
    std::string storeAddress;

    const std::string& get(Field field) const;
    // The download of one of the texts: the store name, shop phone or store address job. The one
    // place these jobs are put together, for the screen and the command line alike.
    JobRequest downloadRequest(Field field) const;

    bool operator==(const StoreText&) const = default;
};

} // namespace korvan
