#pragma once

#include <string>

/// How the program is to start, read from its arguments before any application object
/// exists, so that a usage error needs no display.
struct StartRequest {
    enum class Kind { Window, CommandLine, UsageError };
    Kind kind = Kind::Window;
    /// Window: the folders to fill in for this start, absolute; empty when not given.
    std::string source;
    std::string dest;
    /// UsageError: what is wrong, one line.
    std::string error;
};

/// Reads the arguments. A subcommand, --help or --version makes the command line. Else
/// the window starts, with a source folder from a bare FOLDER or --source, and a
/// destination from --dest. A subcommand's name is taken as one even when a folder of
/// that name is there ("./copy" is the folder). A bare word that is no folder is taken
/// for a mistyped subcommand, and refused, unless it is a path (holds a "/", as a file
/// manager's always does): the window then opens and says the folder is missing, as for
/// --source. Two source folders, two destinations, an unknown option and an option
/// without its folder are usage errors.
StartRequest readStartRequest(int argc, char** argv);
