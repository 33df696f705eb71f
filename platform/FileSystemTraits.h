#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

/// What a folder's file system allows, as far as a run must know before it writes.
struct FileSystemTraits {
    /// It keeps the naming rules of Windows: FAT, exFAT, NTFS, SMB shares.
    bool windowsNames = false;
    /// The largest file it holds, in bytes; 0 when only the free space limits files.
    std::uint64_t largestFile = 0;
    /// How finely it keeps modification times.
    std::int64_t timeResolutionNanoseconds = 1;
    /// Whether its change times are its own: where they are derived from times any
    /// program can set (FAT, exFAT), an unchanged change time proves nothing.
    bool keepsChangeTimes = true;
};

/// The traits of the file system that holds `folder`, or would hold it once made: a
/// missing folder is looked up by its nearest existing parent. Unknown file systems
/// get the traits of Linux file systems.
FileSystemTraits fileSystemOf(const std::string& folder);

/// Space for new files in the file system of `folder`, as an unprivileged writer may
/// use it, and its allocation unit. Empty when it cannot be told (a file system that
/// reports no size at all).
struct FreeSpace {
    std::uint64_t availableBytes = 0;
    std::uint64_t blockBytes = 1;
};
std::optional<FreeSpace> freeSpaceOf(const std::string& folder);

} // namespace platform
