#pragma once

#include <string>

namespace platform {

/// Opens `path` as open() would, with `flags`, also where the path is longer than the
/// system takes in one call (PATH_MAX): it is then opened a stretch of folders at a
/// time, each relative to the one before. A descriptor, or -1 with errno set.
int openLongPath(const std::string& path, int flags);

/// True when `path` is too long for the system to take in one call: only
/// openLongPath, or calls relative to a folder's descriptor, reach it.
bool isTooLongForOneCall(const std::string& path);

} // namespace platform
