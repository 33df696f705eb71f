#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

/// Larger than four lines of folder paths can ever be; a bigger file is no settings file.
inline constexpr std::size_t kLargestSettingsFile = 256 * 1024;

/// The start of a file as read: all of it, or its first kLargestSettingsFile bytes.
struct FileStart {
    std::string bytes;
    bool whole = true; ///< false when the file goes on beyond `bytes`
};

/// The file, or its first kLargestSettingsFile bytes when it is larger; nothing when it
/// cannot be opened or read or is not a regular file (a FIFO, a device). Never blocks.
std::optional<FileStart> readFileStart(const std::string& path);

/// Replaces the file's contents in one step: the bytes go to a new file beside it,
/// reach the disk, and only then take the file's name. A failed or interrupted save
/// therefore leaves the previous file as it was, never an empty or partial one.
/// A link is followed, so the file it points to is the one replaced. Missing folders
/// above the file are created. Where the folder refuses a new file but the file itself
/// may be written, the file is rewritten in place instead. A file without write
/// permission is not replaced (EACCES), whoever saves; its owner's write bit counts
/// for root too. Returns 0, or the errno of the step that failed.
int replaceWholeFile(const std::string& path, std::string_view contents);

} // namespace settings
