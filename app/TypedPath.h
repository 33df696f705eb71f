#pragma once

#include <string>

/// A path as typed in a shell, made absolute against the working folder: the run takes
/// only absolute paths, and the report and the journal must name files that can be found
/// again from anywhere. Leading "." and ".." are taken off against the working folder,
/// which is a real path, so that is exact; the rest is kept as typed. An empty text stays
/// empty, and the run says that it is missing.
std::string absoluteFromWorkingFolder(const std::string& path);
