#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/// Whether names that differ only in letter case are one name in a folder.
enum class CaseFolding : std::uint8_t {
    Keeps,
    Folds,
    /// Nothing known tells: a share, whose server decides, or a FUSE file system of
    /// unknown kind. Only a file made there and looked up again can tell.
    Unknown,
};

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
    CaseFolding caseFolding = CaseFolding::Keeps;
    /// Every call is a round trip to a server or a program: a share (NFS, SMB, 9p, Ceph,
    /// AFS) or any FUSE file system. Many calls in flight at once then pay off.
    bool roundTrips = false;
};

/// How many files a run copies at once between these file systems: about two on local
/// disks, where more only cost, and many where calls are round trips.
std::size_t filesInFlight(const FileSystemTraits& source, const FileSystemTraits& destination);

/// The traits of the file system that holds `folder`, or would hold it once made: a
/// missing folder is looked up by its nearest existing parent (a new folder takes its
/// parent's case folding). Unknown file systems get the traits of Linux file systems,
/// but for their case folding, which is then Unknown where they may fold.
/// Nothing is written to find out.
FileSystemTraits fileSystemOf(const std::string& folder);

/// The traits of a mount from its mount-table type (e.g. "vfat", "fuseblk",
/// "fuse.fusefat"), its file system's options ("rw,nocase"), the first sector of its
/// volume where known (what a FUSE block mount holds), and whether the folder asked
/// about has the case-folding attribute.
FileSystemTraits traitsOfMount(std::string_view type, std::string_view options,
                               std::string_view sector, bool casefoldFolder);

/// Space for new files in the file system of `folder`, as an unprivileged writer may
/// use it, and its allocation unit. Empty when it cannot be told (a file system that
/// reports no size at all).
struct FreeSpace {
    std::uint64_t availableBytes = 0;
    std::uint64_t blockBytes = 1;
};
std::optional<FreeSpace> freeSpaceOf(const std::string& folder);

} // namespace platform
