#include "LabelDownload.h"

#include <algorithm>

#include "LabelCheck.h"

namespace korvan {

JobRequest LabelDownload::request(const Label& label) {
    LabelPayload payload;
    payload.header = {label.shopNumber, label.width, label.height};
    const std::size_t rows = std::min(label.elements.size(), LabelCheck::kMaxElements);
    payload.elements.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        const LabelElement& e = label.elements[i];
        payload.elements.push_back({e.name(), e.at(LabelElement::Direction),
                                    e.at(LabelElement::Font), e.at(LabelElement::Size),
                                    e.at(LabelElement::State), e.at(LabelElement::DownX),
                                    e.at(LabelElement::DownY)});
    }
    return {std::move(payload)};
}

} // namespace korvan
