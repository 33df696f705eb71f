#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

/// Length of the longest start of `text` that holds at most `limit` bytes and does not
/// end inside a UTF-8 sequence, so that a shortened name stays readable. A byte that
/// belongs to no well-formed sequence counts as a character of its own.
std::size_t characterBoundaryAtMost(std::string_view text, std::size_t limit);

} // namespace platform
