#pragma once
// The label download job takes the open label as it stands (not the file): the header and every
// element row, first row first, hidden rows included.
#include "Label.h"
#include "link/JobRequest.h"

namespace korvan {

class LabelDownload {
public:
    static JobRequest request(const Label& label);
};

} // namespace korvan
