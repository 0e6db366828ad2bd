#include "DownloadGuard.h"

#include "Prompt.h"

namespace korvan::DownloadGuard {
namespace {
const Tr kSaveFirst{"请先保存数据", "Please save the data first"};
}

bool allows(const IoResult& loadFailure, bool modified, Lang lang) {
    if (!loadFailure.ok()) {
        Prompt::showMessage(loadFailure.message());
        return false;
    }
    if (modified) {
        Prompt::showMessage(kSaveFirst.get(lang));
        return false;
    }
    return true;
}

} // namespace korvan::DownloadGuard
