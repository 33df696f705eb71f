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

/// How a file looks from outside, as far as a change to its bytes shows: a write moves
/// its change time, which the kernel keeps and no program sets. Links not followed.
struct FileLook {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t bytes = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::int64_t changedNanoseconds = 0;
    bool operator==(const FileLook&) const = default;
};
std::optional<FileLook> lookOf(const std::string& path);

} // namespace platform
