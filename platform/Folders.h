#pragma once

#include <string>

namespace platform {

/// The folder for temporary files with its trailing "/": $TMPDIR when it is an
/// absolute path that fits the host's path limit, else "/tmp/".
std::string tempFolder();

/// Creates the folder and every missing folder above it. Returns kErrorNone when
/// the folder was made, kErrorAlreadyExists when an entry of that name exists,
/// kErrorPathNotFound when the path cannot be made (not absolute, a parent is a
/// file), or another error number from ErrorCodes.h.
int createFolderWithParents(const std::string& path);
/// Makes the missing folders above the absolute `path` (not `path` itself); true when
/// its parent is a folder afterwards.
bool createParentFolders(const std::string& path);

/// True when `path` is absolute and names a folder (links followed) that can be
/// opened for listing; empty folders count.
bool canListFolder(const std::string& path);

} // namespace platform
