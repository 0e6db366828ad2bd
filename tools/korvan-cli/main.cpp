// korvan-cli: runs one transfer job with the scale without a window, on the same engine as the
// desktop program's transfer dialog.
#include "CliMain.h"
#include "common/ScratchFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    // Ctrl+C or a kill during an export leaves no half-written file behind.
    korvan::ScratchFiles::removeOnSignals();
    const int status = korvan::cli::runCli(std::vector<std::string>(argv + 1, argv + argc),
                                           std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
    // runCli checked its own writes (and said so when they failed); anything still buffered
    // must reach stdout too.
    if (std::cout && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
        std::fprintf(stderr, "korvan-cli: cannot write to standard output: %s\n",
                     std::strerror(errno));
        return status == korvan::cli::kExitDone ? korvan::cli::kExitFailed : status;
    }
    return status;
}
