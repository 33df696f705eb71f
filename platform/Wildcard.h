#pragma once

#include <string_view>

namespace platform {

/// True when `text` has a "*" or "?" in it.
bool hasWildcard(std::string_view text);

/// Matches a file name against a pattern in which "*" stands for any run of
/// characters and "?" for exactly one character (a whole UTF-8 sequence, or a single
/// byte where the bytes are not UTF-8). Every other character matches itself, byte
/// for byte and case-sensitively, as the file system compares names. A final ".*"
/// also matches a name without that extension ("*.*" matches every name), and a final
/// "." matches names without a dot ("*.").
bool wildcardMatch(std::string_view pattern, std::string_view name);

} // namespace platform
