#pragma once

#include <string>

/// The shell completions of the command line, made from its table (app/CommandTable.h):
/// subcommands, options, folders for SOURCE, DEST and the window's folders, and the
/// common extensions after -t, a comma-separated list completed item by item.
namespace completion_scripts {

/// For bash: installed as share/bash-completion/completions/quorvane.
std::string bash();
/// For zsh: installed as share/zsh/vendor-completions/_quorvane.
std::string zsh();

} // namespace completion_scripts
