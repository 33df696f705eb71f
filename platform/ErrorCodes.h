#pragma once

namespace platform {

// Error numbers in the form the toolkit reports them to its callers (the numbering
// desktop shells use), so that callers can tell the cases they act on apart.
inline constexpr int kErrorNone = 0;
inline constexpr int kErrorGeneric = 31;
inline constexpr int kErrorFileNotFound = 2;
inline constexpr int kErrorPathNotFound = 3;
inline constexpr int kErrorAccessDenied = 5;
inline constexpr int kErrorDiskFull = 112;
inline constexpr int kErrorAlreadyExists = 183;
inline constexpr int kErrorNameTooLong = 206;

/// Maps a POSIX errno value to the error number above that says the same.
int errorNumberFromErrno(int error);

} // namespace platform
