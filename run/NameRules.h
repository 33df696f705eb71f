#pragma once

#include "run/FileNameStem.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace run {

/// How a folder's file system measures the length of a name: in bytes (Linux file
/// systems), or in UTF-16 units (those that keep Windows names).
enum class NameLength { Bytes, Utf16Units };

/// The three questions the plan of destination names asks about names. The real plan
/// and any other implementation of the same numbering take them alike, so that the
/// two can be compared on the same answers.
struct NameRules {
    /// True when something already bears this full path on disk.
    std::function<bool(const std::string& path)> isTaken;
    /// Two names are the same name when their keys are equal. Left empty, names are
    /// compared byte for byte (and nothing is spent on making keys).
    std::function<std::string(std::string_view name)> nameKey;
    /// Where the stem of a full path ends, that is where its extension (with its dot)
    /// begins; path.size() when it has none.
    std::function<std::size_t(std::string_view path)> stemEnd;
    /// How long a numbered name may grow.
    NameLength nameLength = NameLength::Bytes;
};

/// The counter of a numbered name: decimal, at least three digits ("001", "1000").
std::string counterText(std::int32_t counter);

/// `path` with "_" and the counter's text in place of its bytes from `keptStem` to
/// `stemEnd` (an earlier suffix, or nothing), the extension after them kept. Where the
/// file name would grow past the longest name a folder holds (measured as `length`
/// says), its stem is shortened at a character boundary to make room, so a numbered
/// name can always be written.
std::string numberedName(std::string_view path, std::size_t keptStem, std::size_t stemEnd,
                         std::int32_t counter, NameLength length = NameLength::Bytes);

/// numberedName() into `name`, whose room is reused; `path` must not lie inside `name`.
void assignNumberedName(std::string& name, std::string_view path, std::size_t keptStem,
                        std::size_t stemEnd, std::int32_t counter, NameLength length = NameLength::Bytes);

/// True when two of `names[0]` to `names[lastIndex]` differ only in the letter case of
/// their file names: only then does it matter whether the destination folds case.
bool namesDifferOnlyInCase(const std::vector<std::string>& names, std::int32_t lastIndex);

/// A key under which names that differ only in letter case coincide (Unicode simple
/// case folding, generous rather than strict). Bytes that are not UTF-8 stay as they are.
std::string caseFoldedKey(std::string_view name);

/// True when an entry of any kind exists at the path: a file, a hidden file, a folder,
/// a link, a dangling link included.
bool entryExists(const std::string& path);

/// True when the file system of `folder` treats names that differ only in letter case
/// as the same name. Found out by creating a probe file in the folder and looking it
/// up under its case-swapped name. When the folder cannot be probed the answer is
/// true: numbering one name too many is harmless, writing onto another file is not.
bool folderFoldsCase(const std::string& folder);

} // namespace run
