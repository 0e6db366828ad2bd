#include "StoreText.h"

#include <utility>

namespace korvan {

std::size_t StoreText::maxBytes(Field field) {
    switch (field) {
    case Field::ShopPhone:
        return kShopPhoneBytes;
    case Field::StoreAddress:
        return kStoreAddressBytes;
    case Field::StoreName:
        break;
    }
    return kStoreNameBytes;
}

const std::string& StoreText::get(Field field) const {
    switch (field) {
    case Field::ShopPhone:
        return shopPhone;
    case Field::StoreAddress:
        return storeAddress;
    case Field::StoreName:
        break;
    }
    return storeName;
}

std::string& StoreText::get(Field field) {
    return const_cast<std::string&>(std::as_const(*this).get(field));
}

JobRequest StoreText::downloadRequest(Field field) const {
    switch (field) {
    case Field::ShopPhone:
        return {ShopPhonePayload{get(field)}};
    case Field::StoreAddress:
        return {StoreAddressPayload{get(field)}};
    case Field::StoreName:
        break;
    }
    return {StoreNamePayload{get(field)}};
}

} // namespace korvan
