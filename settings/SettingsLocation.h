#pragma once

#include <string>

namespace settings {

/// How the program is laid out on disk. A portable program keeps its settings beside
/// itself; an installed one lives in a folder its user cannot write to, so its
/// settings go to the user's configuration folder.
enum class Layout { Portable, Installed };

/// The layout this build was made for (installed builds and packages say so in CMake).
Layout builtLayout();

/// The folder that holds the running program, without a trailing "/".
std::string programFolder();

/// The settings file's path. Portable: "Quorvane.qvn" in the program's folder.
/// Installed: the same file when one already sits beside the program, otherwise
/// "Quorvane/Quorvane.qvn" in $XDG_CONFIG_HOME, or in "$HOME/.config" when that
/// variable is unset or not an absolute path. Either variable may be null.
std::string settingsFilePath(Layout layout, const std::string& programFolder,
                             const char* xdgConfigHome, const char* home);

/// The settings file of the running program.
std::string settingsFilePath();

} // namespace settings
