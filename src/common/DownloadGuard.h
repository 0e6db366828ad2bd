#pragma once
// A data screen's Download is refused while what it would send is not what its file holds.
#include "common/Language.h"
#include "common/RecordFile.h"

namespace korvan::DownloadGuard {

// Refused when the screen's file could not be read (its content is unknown) or the data on screen
// differ from the file ("Please save the data first", in `lang`); the screen tells the operator.
IoResult check(const IoResult& loadFailure, bool modified, Lang lang);

} // namespace korvan::DownloadGuard
