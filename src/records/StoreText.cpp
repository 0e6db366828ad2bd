#include "StoreText.h"

namespace korvan {

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
