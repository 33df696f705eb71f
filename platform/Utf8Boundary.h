#pragma once

#include <cstddef>
#include <string>
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

/// Decodes the UTF-8 sequence at `at` into `codePoint`. Returns its length, or 0 when
/// the bytes there are not a well-formed sequence (overlong forms and surrogates included).
std::size_t decodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint);

/// Appends `codePoint` to `out` in UTF-8.
void appendUtf8(std::string& out, char32_t codePoint);

} // namespace platform
