#pragma once

#include <string>

namespace platform {

/// True when `path` is absolute and names an existing entry that is not a folder
/// (links followed; a dangling link counts as a file) and whose own name is not
/// hidden (does not begin with "."). When no entry has exactly that name and its last
/// component holds "*" or "?", the component is matched as a pattern against the
/// folder's entries, and any visible non-folder that matches makes it true.
bool visibleFileExists(const std::string& path);

} // namespace platform
