#include "DownloadGuard.h"

#include "Prompt.h"

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

bool allows(const IoResult& loadFailure, bool modified, Lang lang) {
    const IoResult checked = check(loadFailure, modified, lang);
    if (!checked)
        Prompt::showMessage(checked.message());
    return checked.ok();
}

} // namespace korvan::DownloadGuard
