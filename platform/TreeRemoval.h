#pragma once

#include <string>

namespace platform {

/// Removes the entry at `path` for good: a file or a link (never what a link points
/// to), or a folder with everything in it. Returns 0, or the first errno met; what
/// could be removed is removed even then.
int removeForGood(const std::string& path);

} // namespace platform
