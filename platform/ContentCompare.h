#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

/// The XXH3 hash of a regular file's bytes; empty when it is not a regular file or
/// cannot be read to its end. Links are not followed.
std::optional<std::uint64_t> contentHash(const std::string& path);

/// Whether two regular files hold the same bytes, compared side by side; false when
/// either cannot be read whole, is not a regular file, or is a link.
bool sameContent(const std::string& first, const std::string& second);

} // namespace platform
