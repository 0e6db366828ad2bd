#include "DateTimeDownload.h"

#include "link/RecordBuilder.h"

namespace korvan {

JobRequest DateTimeDownload::request(const std::tm& local) {
    JobRequest request;
    request.kind = JobKind::DateTimeDownload;
    request.text = RecordBuilder::dateTimeText(local);
    return request;
}

std::tm DateTimeDownload::localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return local;
}

} // namespace korvan
