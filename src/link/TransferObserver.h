#pragma once
// How a transfer reports to whoever shows it (the transfer dialog, the command line). Called on
// the consuming thread only.
#include <cstdint>
#include <string>

#include "link/LinkOutcome.h"

namespace korvan {

struct TransferProgress {
    std::int64_t position = 0; // steps the progress bar has advanced
    std::int64_t total = 0;    // the progress bar's range
    std::string countText;     // the count label
    bool totalUnknown = false; // `total` is only a bound; how far the job is cannot be shown
};

struct TransferReport {
    int code = 0;           // 244 for a worker that ended normally, else the failure code
    std::string message;    // what the operator is shown at the end (may be empty)
    bool completed = false; // the scale confirmed the end of the job
};

class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    virtual void progress(const TransferProgress& progress) { (void)progress; }
    // Every status code above 200 as it arrives, 244 included (its message is the result
    // text). PromptAndClose: show the message and close; SetResult: nothing to show yet.
    virtual void outcome(const LinkOutcome& outcome) { (void)outcome; }
    // The transfer is over; nothing more will be reported.
    virtual void finished(const TransferReport& report) { (void)report; }
};

} // namespace korvan
