#include "ScaleTarget.h"

#include "common/Prompt.h"
#include "common/Text.h"
#include "link/ScaleList.h"

namespace korvan {
namespace {
constexpr Tr kThisScale{"本秤", "This scale"};
constexpr Tr kAllScales{"全部秤", "All scales"};
constexpr Tr kCancel{"取消", "Cancel"};
constexpr Tr kReadWhich{"读取本秤还是全部 %1 台秤的销售记录?",
                        "Read the sales records of this scale or of all %1 listed scales?"};
constexpr Tr kClearWhich{"清除本秤还是全部 %1 台秤的销售记录?",
                         "Clear the sales records of this scale or of all %1 listed scales?"};
constexpr Tr kSendWhich{"下载到本秤还是全部 %1 台秤?",
                        "Download to this scale or to all %1 listed scales?"};
} // namespace

ScaleTarget chooseScaleTarget(JobKind kind, const DataDir& dir, Lang lang) {
    ScaleList list;
    if (const IoResult read = list.load(ScaleList::file(dir)); !read) {
        Prompt::showMessage(read.message());
        return ScaleTarget::Cancelled;
    }
    if (list.scales.empty())
        return ScaleTarget::ThisScale;
    const Tr& question = kind == JobKind::ReadRecords    ? kReadWhich
                         : kind == JobKind::ClearRecords ? kClearWhich
                                                         : kSendWhich;
    switch (Prompt::choose(Text::fillIn(question.get(lang), {std::to_string(list.scales.size())}),
                           {kThisScale.get(lang), kAllScales.get(lang), kCancel.get(lang)})) {
    case 0:
        return ScaleTarget::ThisScale;
    case 1:
        return ScaleTarget::AllScales;
    default:
        return ScaleTarget::Cancelled;
    }
}

} // namespace korvan
