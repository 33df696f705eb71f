#pragma once

#include "platform/FileCopier.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class OperationWindow;
class PendingCall;

/// What a file operation does, numbered as desktop shells number them.
enum class FileOperationCode : int { Move = 1, Copy = 2, Delete = 3, Rename = 4 };

/// Option bits of a file operation, with the values desktop shells give them.
namespace operation_flags {
/// The to-list holds one destination for each from-list entry.
inline constexpr std::uint16_t kMultiDestFiles = 0x0001;
/// No progress window.
inline constexpr std::uint16_t kSilent = 0x0004;
/// A taken destination name gets a new free name instead of being replaced.
inline constexpr std::uint16_t kRenameOnCollision = 0x0008;
/// Nothing is asked: every question counts as answered "yes to all".
inline constexpr std::uint16_t kNoConfirmation = 0x0010;
/// Accepted for callers that ask for the renamed names; nothing is returned.
inline constexpr std::uint16_t kWantMappingHandle = 0x0020;
/// A delete moves the entries to the trash.
inline constexpr std::uint16_t kAllowUndo = 0x0040;
/// A wildcard pattern matches files only.
inline constexpr std::uint16_t kFilesOnly = 0x0080;
/// The progress window shows no names.
inline constexpr std::uint16_t kSimpleProgress = 0x0100;
/// A missing destination folder is made without asking.
inline constexpr std::uint16_t kNoConfirmMkdir = 0x0200;
} // namespace operation_flags

/// The result of an operation that the user cancelled or declined, or answered "no"
/// for one of its items.
inline constexpr int kOperationCancelled = 1223;

/// Guards that a collection run adds to its operations, beyond the option bits: a run
/// works on names it planned itself and on files it found, never on anything else.
struct RunGuards {
    /// A taken destination name is never replaced and nothing is asked about it,
    /// whatever the option bits say: the item is left undone, with no message, and
    /// FileOperationOutcome::destinationTaken tells the caller to choose another name.
    /// A destination is then the item's full path: a folder there is a taken name too,
    /// never one to put the item into.
    bool neverReplace = false;
    /// Delete and trash act on entries that are not folders: an entry that is a folder
    /// by now is left alone (never recursed into) and reported as not deleted.
    bool nonFoldersOnly = false;
    /// A move of a regular file to another file system places the copy without waiting
    /// for it to reach the disk and leaves the source: FileOperationOutcome::sourceLeft
    /// hands the move over to a MoveFinisher, which flushes many copies at once.
    bool leaveSourceAcross = false;
    /// A copy of the operation's one source made ahead of its turn: placed instead of
    /// copying again, and left for the next name when its name is taken.
    PreparedCopy* prepared = nullptr;
    /// Or, in place of `prepared`: asked for it on the thread that works on the item, as
    /// the item begins; it may wait there for the copy to be written.
    std::function<PreparedCopy*()> awaitPrepared = {};
    /// A copy made ahead looked at its source as it read it: that look stands for the
    /// item's own, which on a share would cost a round trip for every file, one after
    /// another. A source removed since its copy was made is then copied all the same.
    bool sourceLookedAhead = false;
    /// The run's cancel, set from another thread while the operation works: once set, no
    /// further item is begun (the one in progress is finished) and the operation ends as
    /// stopped by the user. A delete or trash of many files stops between two of them.
    const std::atomic<bool>* cancel = nullptr;
    /// Told of each item as it begins, and of the end of the operation: the window
    /// names the file a stalled operation waits on.
    PendingCall* pending = nullptr;
};

/// A move to another file system whose copy is in place and whose source is still there.
struct LeftSource {
    std::string source;
    std::string copy;
    /// The source as it was before it was copied; one changed since then is not removed.
    std::int64_t changeNanoseconds = 0;
    std::uint64_t inode = 0;
    std::uint64_t bytes = 0;
};

/// One file operation as its caller hands it over.
struct FileOperationRequest {
    FileOperationCode code = FileOperationCode::Copy;
    /// Absolute paths, each followed by a NUL; an empty entry or the end of the text
    /// ends the list. The last component of an entry may hold "*" and "?".
    std::string_view fromList;
    /// Destinations in the same form: one for all entries, or one per entry with
    /// kMultiDestFiles. A rename's destination may be a bare new name.
    std::string_view toList;
    std::uint16_t flags = 0;
    /// Window id that owns the operation's windows; 0 for none.
    std::uint64_t ownerWindow = 0;
    RunGuards guards;
};

struct FileOperationOutcome {
    /// 0 when the whole operation succeeded; else an error number from ErrorCodes.h
    /// for the first failure, or kOperationCancelled.
    int result = 0;
    /// The user chose to stop: in an error message, a replace question or the
    /// progress window.
    bool stopRequested = false;
    /// With RunGuards::neverReplace: the destination name was found taken (before or
    /// at the moment of placing), and the item was not done.
    bool destinationTaken = false;
    /// What the first failure was and why, in one line without its path; empty when
    /// nothing failed.
    std::string failureReason;
    /// With RunGuards::leaveSourceAcross, in an operation of one item: the item's copy is
    /// in place on another file system, and its source is left for a MoveFinisher.
    std::optional<LeftSource> sourceLeft;
    /// In a copy of one regular file that was placed, or a move of one whose copy was
    /// placed and its source left: how it and its source looked.
    std::optional<CopiedFile> copied;
    /// How many items were begun, in list order (a path listed twice is one item): the
    /// items after them were never reached.
    std::size_t itemsBegun = 0;
    /// A delete's or trash's: for each item begun, in list order, whether it was removed
    /// (or put in the trash), so that the caller needs no look to tell.
    std::vector<bool> itemsDone = {};
};

/// Points where tests make the file system misbehave on purpose.
struct FileOperationSeams {
    /// Write copies through a hidden temporary name even where unnamed files exist.
    bool avoidUnnamedFiles = false;
    /// Called before each block of copied content; a nonzero errno fails the copy.
    std::function<int()> beforeCopyBlock;
};

/// Carries out one file operation: copy, move, rename, delete for good or into the
/// trash, asking and reporting through `window`. Paths go to system calls byte for
/// byte; no file is replaced unless that was asked for or allowed, no source is
/// removed before its copy is complete, and nothing is deleted for good unless a
/// delete for good was asked.
FileOperationOutcome runFileOperation(const FileOperationRequest& request,
                                      OperationWindow& window,
                                      const FileOperationSeams& seams = {});

} // namespace platform
