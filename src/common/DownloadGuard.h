#pragma once
// A data screen's Download is refused while what it would send is not what its file holds.
#include "common/Language.h"
#include "common/RecordFile.h"

namespace korvan::DownloadGuard {

// False, after telling the operator why, when the screen's file could not be read (its content
// is unknown) or the data on screen differ from the file ("Please save the data first").
bool allows(const IoResult& loadFailure, bool modified, Lang lang);
// The same rule without telling: the refusal (its message in `lang`), or ok.
IoResult check(const IoResult& loadFailure, bool modified, Lang lang);

} // namespace korvan::DownloadGuard
