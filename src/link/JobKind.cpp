#include "JobKind.h"

namespace korvan::JobKinds {

std::uint8_t commandByte(JobKind kind, ModelFamily family) {
    switch (kind) {
    case JobKind::CommodityDownload:
        return family == ModelFamily::OrinKesa ? 0x03 : 0x13;
    case JobKind::LabelDownload:
        return 0x06;
    case JobKind::DescriptionDownload:
        return 0x15;
    case JobKind::StoreNameDownload:
        return 0x02;
    case JobKind::ShopPhoneDownload:
        return 0x04;
    case JobKind::StoreAddressDownload:
        return 0x05;
    case JobKind::DateTimeDownload:
        return 0x01;
    case JobKind::ReadRecords:
        return 0x08;
    case JobKind::ClearRecords:
        return 0x18;
    case JobKind::ProgramUpdate:
        return 0x28;
    }
    return 0;
}

bool isDownload(JobKind kind) {
    return kind != JobKind::ReadRecords && kind != JobKind::ClearRecords &&
           kind != JobKind::ProgramUpdate;
}

std::int64_t stepTotal(JobKind kind, std::int64_t rowCount) {
    switch (kind) {
    case JobKind::CommodityDownload:
    case JobKind::DescriptionDownload:
        return rowCount;
    case JobKind::LabelDownload:
        return rowCount + 1; // the header record comes first
    case JobKind::StoreNameDownload:
    case JobKind::ShopPhoneDownload:
    case JobKind::StoreAddressDownload:
    case JobKind::DateTimeDownload:
        return 1;
    case JobKind::ReadRecords:
        return kReadRecordsSteps;
    case JobKind::ClearRecords:
        return kClearRecordsSteps;
    case JobKind::ProgramUpdate:
        return (rowCount + kUpdateBlockSize - 1) / kUpdateBlockSize;
    }
    return 0;
}

const char* name(JobKind kind) {
    switch (kind) {
    case JobKind::CommodityDownload:
        return "commodity download";
    case JobKind::LabelDownload:
        return "label download";
    case JobKind::DescriptionDownload:
        return "description download";
    case JobKind::StoreNameDownload:
        return "store name download";
    case JobKind::ShopPhoneDownload:
        return "shop phone download";
    case JobKind::StoreAddressDownload:
        return "store address download";
    case JobKind::DateTimeDownload:
        return "date and time download";
    case JobKind::ReadRecords:
        return "read records";
    case JobKind::ClearRecords:
        return "clear records";
    case JobKind::ProgramUpdate:
        return "program update";
    }
    return "";
}

Tr title(JobKind kind, LinkMode mode) {
    if (kind == JobKind::ProgramUpdate)
        return {"电子秤程序升级中..", "Program updates"};
    switch (mode) {
    case LinkMode::Serial:
        return {"串口数据传送进度..", "Serial port download progress"};
    case LinkMode::Network:
        return {"网口数据传送进度..", "Network download progress"};
    case LinkMode::Usb:
        return {"usb数据传送进度..", "USB download progress"};
    case LinkMode::None:
        break;
    }
    return {"数据传送进度..", "Download progress"};
}

} // namespace korvan::JobKinds
