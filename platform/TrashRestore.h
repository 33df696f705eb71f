#pragma once

#include "platform/TrashCan.h"

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

/// Puts entries back from the desktop's trash to where they were trashed from, as a
/// file manager's "restore" does: the entry and its .trashinfo leave the trash, and
/// nothing is ever replaced. Each trash folder is read once, on first need.
class TrashRestore {
public:
    /// Only entries trashed at or after `sinceSeconds` (since the epoch) are candidates.
    explicit TrashRestore(std::int64_t sinceSeconds) : m_since(sinceSeconds) {}

    /// Restores the newest candidate trashed from the absolute `path`, making its
    /// missing folders. Returns 0, ENOENT when no trash holds it, EEXIST when `path` is
    /// taken, or another errno.
    int restore(const std::string& path);

private:
    struct Entry {
        std::string trash;
        std::string name;
        std::int64_t deleted = 0;
    };
    void read(const TrashCan::Place& place);

    std::int64_t m_since;
    std::set<std::string> m_read;
    std::unordered_map<std::string, std::vector<Entry>> m_byPath;
};

} // namespace platform
