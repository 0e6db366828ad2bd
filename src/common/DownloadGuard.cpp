#include "DownloadGuard.h"

namespace korvan::DownloadGuard {
namespace {
const Tr kSaveFirst{"请先保存数据", "Please save the data first"};
}

IoResult check(const IoResult& loadFailure, bool modified, Lang lang) {
    if (!loadFailure.ok())
        return loadFailure;
    if (modified)
        return IoResult::failed(kSaveFirst.get(lang));
    return {};
}

} // namespace korvan::DownloadGuard
