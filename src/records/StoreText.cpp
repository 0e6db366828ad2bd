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
    JobRequest request;
    switch (field) {
    case Field::StoreName:
        request.kind = JobKind::StoreNameDownload;
        break;
    case Field::ShopPhone:
        request.kind = JobKind::ShopPhoneDownload;
        break;
    case Field::StoreAddress:
        request.kind = JobKind::StoreAddressDownload;
        break;
    }
    request.text = get(field);
    return request;
}

} // namespace korvan
