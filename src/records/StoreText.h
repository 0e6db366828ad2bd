#pragma once
// The three texts the scale prints on its receipts, as record/xpwz.rec keeps them (code page 936
// bytes, each on its own line).
#include <cstddef>
#include <string>

#include "link/JobRequest.h"

namespace korvan {

struct StoreText {
    enum class Field { StoreName, ShopPhone, StoreAddress };

    std::string storeName;
    std::string shopPhone;
    std::string storeAddress;

    // The most code page 936 bytes each text takes, as typed (a line break counts as CR LF).
    static constexpr std::size_t kStoreNameBytes = 60;
    static constexpr std::size_t kShopPhoneBytes = 15;
    static constexpr std::size_t kStoreAddressBytes = 60;
    static std::size_t maxBytes(Field field);
    // The store name and address may run over several lines; the shop phone is one line.
    static bool multiLine(Field field) { return field != Field::ShopPhone; }

    const std::string& get(Field field) const;
    std::string& get(Field field);
    // The download of one of the texts: the store name, shop phone or store address job. The one
    // place these jobs are put together, for the screen and the command line alike.
    JobRequest downloadRequest(Field field) const;

    bool operator==(const StoreText&) const = default;
};

} // namespace korvan
