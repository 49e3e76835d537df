// The command line's commands over the core: search, hot, notice and resolve. Each returns the
// process exit status.
#pragma once

#include <ostream>

#include "cli/cliargs.h"

namespace lq {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNothingToOpen = 3;

// Points the settings at --site/--news-site when given, then runs the command. progressOnErr:
// whether search reports its pages on err (the caller decides: only on a terminal).
int RunCli(const CliArguments& arguments, std::ostream& out, std::ostream& err, bool progressOnErr);

}  // namespace lq
