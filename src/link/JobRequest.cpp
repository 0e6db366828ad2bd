#include "JobRequest.h"

#include <utility>

namespace korvan {
namespace {

template <std::size_t... I> constexpr bool payloadsInKindOrder(std::index_sequence<I...>) {
    return ((std::variant_alternative_t<I, JobPayload>::kKind == static_cast<JobKind>(I)) && ...);
}
static_assert(std::variant_size_v<JobPayload> == JobKinds::kTable.size());
static_assert(payloadsInKindOrder(std::make_index_sequence<std::variant_size_v<JobPayload>>()),
              "a payload's index in JobPayload is its kind");

} // namespace

std::size_t JobRequest::rowCount() const {
    if (const auto* commodities = get<CommodityPayload>())
        return commodities->rows.size();
    if (const auto* label = get<LabelPayload>())
        return label->elements.size();
    if (const auto* descriptions = get<DescriptionPayload>())
        return descriptions->rows.size();
    return 0;
}

std::uint8_t JobRequest::commandByte() const {
    const auto* commodities = get<CommodityPayload>();
    return JobKinds::commandByte(kind(), commodities ? commodities->family : ModelFamily::Vamo);
}

} // namespace korvan
