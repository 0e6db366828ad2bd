#include "DateTimeDownload.h"

#include "link/RecordBuilder.h"

namespace korvan {

JobRequest DateTimeDownload::request(const std::tm& local) {
    return {DateTimePayload{RecordBuilder::dateTimeText(local)}};
}

std::tm DateTimeDownload::localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return local;
}

} // namespace korvan
