#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Names for destinations whose file systems keep the naming rules of Windows: FAT,
// exFAT, NTFS and SMB shares. They refuse some characters that Linux names may hold,
// and count a name's length in UTF-16 units.
namespace run {

/// The longest name such a file system holds, in UTF-16 units.
inline constexpr std::size_t kLongestWindowsName = 255;

/// The name such a file system can hold for the file name `name`, by one rule: each of
/// \ : * ? " < > | becomes its fullwidth form (＼ ： ＊ ？ ＂ ＜ ＞ ｜), a control character
/// becomes "_", bytes that are not UTF-8 become U+FFFD, trailing dots and spaces are
/// removed, and a name longer than kLongestWindowsName is shortened at a character
/// boundary, keeping its extension. A name that would be left empty becomes "_".
/// A name the file system holds already comes back unchanged.
std::string fitWindowsName(std::string_view name);

/// The length of `text` in UTF-16 units; a byte outside UTF-8 counts as one.
std::size_t utf16Length(std::string_view text);

/// Length of the longest start of `text` that holds at most `limit` UTF-16 units and
/// ends at a character boundary.
std::size_t utf16BoundaryAtMost(std::string_view text, std::size_t limit);

} // namespace run
