#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Path-component rules of the toolkit. "/" is the only separator; ":" and "\" are
// ordinary characters. Nothing here normalises or canonicalises a path.
namespace platform {

/// True for a text that starts at the file-system root. Anything else (relative,
/// "~/...", the empty text) names nothing for this program: a desktop program's
/// working folder means nothing to its user.
bool isAbsolutePath(std::string_view path);

/// Where the last component begins: just after the last "/" that is followed by a
/// character other than "/"; 0 when there is none ("/dir/" gives the position of "dir/").
std::size_t findFileName(std::string_view path);

/// Position of the "." that begins the extension: the last "." with no "/" and no
/// space after it; path.size() when there is none.
std::size_t findExtension(std::string_view path);

/// Cuts the last component and the "/" before it, keeping the root: "/a/b" becomes
/// "/a", "/a" becomes "/", "/dir/" becomes "/dir". False when there was nothing to
/// cut ("/" itself, or the empty text).
bool removeFileSpec(std::string& path);

/// The display title of a file: its last component. Empty for a text that ends in
/// "/" (no file named). Extensions are always shown.
std::string fileTitle(std::string_view path);

/// The path itself when it is absolute and names an existing entry (there are no
/// alternative short or long forms here); nothing otherwise.
std::optional<std::string> existingPathForm(const std::string& path);

} // namespace platform
