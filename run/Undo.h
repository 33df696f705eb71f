#pragma once

#include "platform/FileOperationEngine.h"

#include <cstdint>
#include <string>
#include <sys/stat.h>

namespace platform {
class TrashRestore;
}

// Taking back one file of a run. Nothing is ever replaced, and nothing is removed that
// is not, as far as can be told, exactly what the run left: what does not pass the
// checks stays where it is, with the reason.
namespace run::undo {

struct Result {
    bool done = false;
    std::string reason; // when not done
};

/// What a file looked like right after the run placed it (or, for a copy's original,
/// while it was copied). A zero change time: not known.
struct Recorded {
    std::uint64_t bytes = 0;
    std::int64_t mtimeNanoseconds = 0;
    std::int64_t changeNanoseconds = 0;
    std::uint64_t inode = 0;
    /// How far the modification time may be off and still count as the same: the
    /// file system's resolution, for those that keep times coarser than they were set.
    std::int64_t timeSlackNanoseconds = 0;

    bool operator==(const Recorded&) const = default;
};

/// Removes the copy at `copy` if it is still the regular file the run wrote (same size
/// and modification time) and holds what `original` holds, where that still exists.
/// Files whose inode and change time are still those recorded (no program can set a
/// change time) are known to be untouched without reading them.
Result removeCopy(const std::string& copy, const std::string& original, Recorded recorded,
                  Recorded recordedOriginal);

/// Moves `moved` back to `original`, making its missing folders, if it is unchanged and
/// `original` is free. Where `original` lies on another file system nothing is moved and
/// `across` is set: the caller moves the file between file systems without replacing
/// (an operation of the engine, with its progress) and hands the outcome to movedAcross.
Result moveBack(const std::string& moved, const std::string& original, Recorded recorded, bool& across);

/// The result of moving a file back between file systems.
Result movedAcross(const platform::FileOperationOutcome& outcome);

/// Puts the file trashed from `original` back there.
Result restoreFromTrash(platform::TrashRestore& trash, const std::string& original);

/// Size, times and inode of the entry at `path` as a journal records them: of a link
/// itself, or with `followLinks` of what it points to (a copy's original, whose content
/// the copy holds). False, and nothing set, when there is no entry.
bool recordOf(const std::string& path, Recorded& recorded, bool followLinks = false);

/// The same, from a status already taken.
Recorded recordOf(const struct stat& status);

} // namespace run::undo
