#include "platform/DestinationFolders.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

DestinationFolders::~DestinationFolders()
{
    for (const auto& [path, fd] : m_open)
        ::close(fd);
}

bool DestinationFolders::open(const std::string& path)
{
    if (m_open.contains(path))
        return true;
    const bool keep = m_open.size() < kKeptOpen;
    if (keep) {
        const int fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            m_open.emplace(path, fd);
            return true;
        }
        if (errno != EMFILE && errno != ENFILE)
            return false;
    }
    // Out of descriptors: the answer still comes from the path.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return false;
    errno = S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
    return errno == 0;
}

int DestinationFolders::find(const std::string& path) const
{
    const auto found = m_open.find(path);
    return found == m_open.end() ? -1 : found->second;
}

bool DestinationFolders::stat(const std::string& path, struct stat& status)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    const std::string name = path.substr(slash + 1);
    // The root has no folder holding it; a folder that does not open fails the
    // stat with the same reason as the whole path would.
    if (slash == std::string::npos || name.empty())
        return ::stat(path.c_str(), &status) == 0;
    if (!open(folder))
        return false;
    const int fd = find(folder);
    return fd >= 0 ? ::fstatat(fd, name.c_str(), &status, 0) == 0
                   : ::stat(path.c_str(), &status) == 0;
}

} // namespace platform
