#include "SalesSummaryRows.h"

#include "common/TextCodec.h"

namespace korvan {

SalesSummaryRows::SalesSummaryRows(const SalesSummary& summary, Lang lang) {
    rows_.reserve(summary.groups().size());
    for (const auto& group : summary.groups()) {
        // A name keeps the bytes it came with; captions are ASCII or plain Chinese.
        std::string key = summary.grouping() == SalesSummary::Grouping::Commodity && !group.other
                              ? group.key
                              : TextCodec::toGbk(summary.label(group, lang)).value_or("?");
        rows_.push_back({std::move(key), std::to_string(group.count),
                         SalesSummary::quantityText(group.quantity),
                         SalesSummary::amountText(group.amount),
                         SalesSummary::shareText(group.share)});
    }
}

std::array<std::string, SalesRows::kFields> SalesSummaryRows::captions(const SalesSummary& summary,
                                                                       Lang lang) {
    return {SalesSummary::keyCaption(summary.grouping()).get(lang), SalesSummary::kCount.get(lang),
            SalesSummary::kQuantity.get(lang), SalesSummary::kAmount.get(lang),
            SalesSummary::kShare.get(lang)};
}

} // namespace korvan
