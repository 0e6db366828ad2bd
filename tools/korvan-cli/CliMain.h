#pragma once
// The whole of korvan-cli as a function: arguments in, output on the given streams, the exit
// status out. main() only hands it the process's streams.
#include <ostream>
#include <string>
#include <vector>

namespace korvan::cli {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
// Sales records read, but the read stopped at its limit: the scale may hold more.
inline constexpr int kExitMayHoldMore = 3;

// `args` are the arguments after the program name. The outcome line goes to `out`, progress and
// notes to `err` (a redrawn bar when `errIsTerminal`).
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool errIsTerminal);

} // namespace korvan::cli
