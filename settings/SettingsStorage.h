#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace settings {

/// Larger than four lines of folder paths can ever be; a bigger file is no settings file.
inline constexpr std::size_t kLargestSettingsFile = 256 * 1024;

/// The whole file; nothing when it cannot be opened or read, is not a regular file
/// (a FIFO, a device) or is larger than kLargestSettingsFile. Never blocks.
std::optional<std::string> readWholeFile(const std::string& path);

/// Replaces the file's contents in one step: the bytes go to a new file beside it,
/// reach the disk, and only then take the file's name. A failed or interrupted save
/// therefore leaves the previous file as it was, never an empty or partial one.
/// A link is followed, so the file it points to is the one replaced. Missing folders
/// above the file are created. Where the folder refuses a new file but the file itself
/// may be written, the file is rewritten in place instead. Returns 0, or the errno of
/// the step that failed.
int replaceWholeFile(const std::string& path, std::string_view contents);

} // namespace settings
