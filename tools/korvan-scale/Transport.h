#pragma once
// One link of the simulated scale. Each link is one class: it frames the PC's messages, feeds
// them to a ScaleSession and hands the answers to ScaleHost::deliver, all on the host's loop.
#include <string>

#include "common/RecordFile.h"

namespace korvan::sim {

class Transport {
public:
    virtual ~Transport() = default;
    // Opens the link and starts watching it on the host's loop.
    virtual IoResult open() = 0;
    // Where the link listens, for the operator.
    virtual std::string describe() const = 0;
};

} // namespace korvan::sim
