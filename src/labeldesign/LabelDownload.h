#pragma once
// The label download job takes the open label as it stands (not the file): the header and every
// element row, first row first, hidden rows included, each decided here as the scale reads it
// (font, size code, bar code, hidden). A label LabelCheck::downloadProblem finds fault with is
// refused before this is called; the scale has places for 50 elements (the element number byte
// counts up from 0x81), so no more are ever put into a request.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "Label.h"
#include "common/DataDir.h"
#include "common/Language.h"
#include "link/JobRequest.h"

namespace korvan {

class LabelDownload {
public:
    static JobRequest request(const Label& label);

    // A label download, or why it is refused before the scale is called.
    struct Prepared {
        std::optional<JobRequest> request;
        std::string refusal; // empty when there is a request
    };
    // The label in `file`, or when it is empty the file record/dqlabel.rec of `dir` names for the
    // language flag: read whole and checked as the designer checks it before a download. The
    // refusal is in `lang`.
    static Prepared fromFile(const DataDir& dir, const std::filesystem::path& file,
                             std::string_view languageFlag, Lang lang);
};

} // namespace korvan
