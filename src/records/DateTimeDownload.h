#pragma once
// The date and time download: sets the scale's clock.
#include <ctime>

#include "link/JobRequest.h"

namespace korvan {

class DateTimeDownload {
public:
    // The job for a local calendar time (its day of the week included). The one place this job is
    // put together, for the screen and the command line alike.
    static JobRequest request(const std::tm& local);
    // The PC's clock now, as local calendar time.
    static std::tm localNow();
};

} // namespace korvan
