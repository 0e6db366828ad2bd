#pragma once
// Where a job goes once the shop lists its scales in record/scales.rec: the current scale (the
// one of the communication settings) or every listed scale.
#include "common/DataDir.h"
#include "common/Language.h"
#include "link/JobKind.h"

namespace korvan {

enum class ScaleTarget { Cancelled, ThisScale, AllScales };

// With scales in the list of `dir` the operator is asked through the prompt (in `lang`): this
// scale, all scales, or cancel. Without a list: this scale, unasked, as it always was. A list
// that is there but cannot be read: its reason is shown and nothing is sent, since which scales
// were meant is not known.
ScaleTarget chooseScaleTarget(JobKind kind, const DataDir& dir, Lang lang);

} // namespace korvan
