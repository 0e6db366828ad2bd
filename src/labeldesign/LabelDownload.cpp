#include "LabelDownload.h"

namespace korvan {

JobRequest LabelDownload::request(const Label& label) {
    JobRequest request;
    request.kind = JobKind::LabelDownload;
    request.labelHeader = {label.shopNumber, label.width, label.height};
    request.labelElements.reserve(label.elements.size());
    for (const LabelElement& e : label.elements)
        request.labelElements.push_back({e.name(), e.at(LabelElement::Direction),
                                         e.at(LabelElement::Font), e.at(LabelElement::Size),
                                         e.at(LabelElement::State), e.at(LabelElement::DownX),
                                         e.at(LabelElement::DownY)});
    return request;
}

} // namespace korvan
