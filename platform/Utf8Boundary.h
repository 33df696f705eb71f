#pragma once

#include <cstddef>
#include <string_view>

// Character boundaries in UTF-8 byte strings. A byte that belongs to no well-formed
// sequence counts as a character of its own, so names that are not UTF-8 still work.
namespace platform {

/// Length of the longest start of `text` that holds at most `limit` bytes and does not
/// end inside a UTF-8 sequence, so that a shortened name stays readable.
std::size_t characterBoundaryAtMost(std::string_view text, std::size_t limit);

/// Where the last `count` characters of `text` begin; 0 when it has no more.
std::size_t startOfLastCharacters(std::string_view text, std::size_t count);

/// How many characters `text` holds.
std::size_t characterCount(std::string_view text);

} // namespace platform
