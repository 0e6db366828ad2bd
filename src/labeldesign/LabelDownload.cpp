#include "LabelDownload.h"

#include <algorithm>

#include "LabelCheck.h"
#include "LabelFile.h"
#include "LabelFileChoice.h"
#include "LabelFont.h"

namespace korvan {

JobRequest LabelDownload::request(const Label& label) {
    LabelPayload payload;
    payload.header = {label.shopNumber, label.width, label.height};
    const std::size_t rows = std::min(label.elements.size(), LabelCheck::kMaxElements);
    payload.elements.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        const LabelElement& e = label.elements[i];
        LabelElementRow row;
        row.name = e.name();
        row.direction = e.at(LabelElement::Direction);
        row.bigFont = LabelFont::big(e.at(LabelElement::Font));
        row.barCode = Label::isBarCode(i);
        // The size column holds the bar height on the bar code row.
        if (row.barCode)
            row.barHeight = e.at(LabelElement::Size);
        else
            row.sizeCode = LabelFont::sizeCode(e.at(LabelElement::Size));
        row.hidden = e.hiddenOnScale();
        row.downX = e.at(LabelElement::DownX);
        row.downY = e.at(LabelElement::DownY);
        payload.elements.push_back(std::move(row));
    }
    return {std::move(payload)};
}

LabelDownload::Prepared LabelDownload::fromFile(const DataDir& dir,
                                                const std::filesystem::path& file,
                                                std::string_view languageFlag, Lang lang) {
    const LabelFileChoice::Checked chosen = LabelFileChoice::checked(dir, file, languageFlag, lang);
    if (!chosen.problem.empty())
        return {std::nullopt, chosen.problem};
    const Loaded<Label> label = LabelFile::load(chosen.file);
    if (!label.ok())
        return {std::nullopt, label.result.message()};
    if (std::string problem = LabelCheck::downloadProblem(label.value, lang); !problem.empty())
        return {std::nullopt, std::move(problem)};
    return {request(label.value), {}};
}

} // namespace korvan
