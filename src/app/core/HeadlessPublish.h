#pragma once
// Publishing from the command line, for scripts and cron: the engine of the transfer
// command without windows and without a display. The log lines go to standard output,
// problems to standard error; the exit code tells whether everything went.

#include "app/core/CommandLine.h"

namespace orvel {

// Exit codes of a run from the command line.
enum TPublishExit : int { peOk = 0, peFailed = 1, peUsage = 2, peCancelled = 3 };

// Runs "--publish PROJECT.prj" with its options; makes its own QCoreApplication.
int publishFromCommandLine(int& argc, char** argv, const TCommandLine& cmd);

} // namespace orvel
