#pragma once
// The label download job takes the open label as it stands (not the file): the header and every
// element row, first row first, hidden rows included. A label LabelCheck::downloadProblem finds
// fault with is refused before this is called; the scale has places for 50 elements (the element
// number byte counts up from 0x81), so no more are ever put into a request.
#include "Label.h"
#include "link/JobRequest.h"

namespace korvan {

class LabelDownload {
public:
    static JobRequest request(const Label& label);
};

} // namespace korvan
