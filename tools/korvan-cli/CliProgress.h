#pragma once
// Shows a transfer's progress on stderr: a bar redrawn in place on a terminal, plain lines
// otherwise (for logs and scripts).
#include <cstdio>
#include <string>

#include "link/TransferObserver.h"

namespace korvan::cli {

class CliProgress : public TransferObserver {
public:
    CliProgress(std::FILE* out, bool terminal, std::string title);

    void progress(const TransferProgress& progress) override;
    void finished(const TransferReport& report) override;

private:
    std::FILE* out_;
    bool terminal_;
    std::string title_;
    bool drawn_ = false;
};

} // namespace korvan::cli
