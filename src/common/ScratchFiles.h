#pragma once
// Files being written that are not in place yet (a workbook under construction, the temporary
// file of an atomic save). A command-line program that is told to stop (Ctrl+C, kill) removes
// them before it ends, so no half-written file is left beside the operator's files.
#include <string>

namespace korvan::ScratchFiles {

// At most a few are written at once; a path beyond that is simply not removed on a signal.
void add(const std::string& path);
void remove(const std::string& path);

// Handlers of SIGINT, SIGTERM and SIGHUP that remove the files, then end the program as the
// signal would have.
void removeOnSignals();

} // namespace korvan::ScratchFiles
