#pragma once

#include <string>
#include <sys/stat.h>
#include <unordered_map>

namespace platform {

/// The destination folders of one operation, each opened once (O_PATH, so no read
/// permission is needed), so that the look at a destination name, the new file and
/// its link into place start from the folder instead of walking its path again.
class DestinationFolders {
public:
    DestinationFolders() = default;
    DestinationFolders(const DestinationFolders&) = delete;
    DestinationFolders& operator=(const DestinationFolders&) = delete;
    ~DestinationFolders();

    /// Opens the folder at `path` (links followed) unless it is open already. False,
    /// errno set, when it is no folder or cannot be reached.
    bool open(const std::string& path);

    /// The descriptor of the folder at `path`, or -1 when it is not held open (never
    /// opened, or more folders than are kept open).
    int find(const std::string& path) const;

    /// As stat(path), done from the folder holding it when that opens. False, errno
    /// set, when the entry is not there.
    bool stat(const std::string& path, struct stat& status);

private:
    // Enough for any ordinary operation; one with more destinations uses paths for
    // the rest rather than run out of descriptors.
    static constexpr std::size_t kKeptOpen = 64;
    std::unordered_map<std::string, int> m_open;
};

} // namespace platform
