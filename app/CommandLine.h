#pragma once

#include <string>

/// Whether the arguments ask for the command line rather than the window: a subcommand
/// (copy, move, delete, trash, undo), --help or --version.
bool isCommandLine(int argc, char** argv);

/// Runs the command line and returns the exit code: 0 when every file was done, 1 when
/// some failed, were skipped or were not done (a question declined), 2 for bad usage or
/// a failed check, 130 when stopped by SIGINT or SIGTERM. Needs no display: no GUI platform is ever set up.
int runCommandLine(int argc, char** argv);

/// Prints the reason and the usage on standard error; returns the exit code of bad usage, 2.
int printUsageError(const std::string& reason);
