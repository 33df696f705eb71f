#pragma once

#include <string>
#include <string_view>

namespace platform {

/// A hidden name in `folder` for something on its way into place: a copy written
/// ahead, a tree being built, a folder of a copying thread. It names this machine and
/// this process, so that what a run killed before it could clean up is recognised as
/// such later, and never confused with what a run still going (here or on another
/// machine sharing the folder) is writing. Unique within the process.
std::string hiddenCopyName(const std::string& folder);

/// Whether `name` is one hiddenCopyName gave on this machine to a process that has
/// ended.
bool isLeftOverCopy(std::string_view name);

/// Removes from `folder` what runs killed before they could clean up left there: files
/// named by hiddenCopyName, and folders so named holding nothing but such files.
/// Nothing else is touched. Errors are ignored: what stays is only hidden clutter. A
/// folder with unnamed files (O_TMPFILE) is not even listed: nothing is left there.
void removeLeftOverCopies(const std::string& folder);

} // namespace platform
