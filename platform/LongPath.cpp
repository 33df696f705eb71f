#include "platform/LongPath.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

bool isTooLongForOneCall(const std::string& path)
{
    return path.size() >= PATH_MAX;
}

int openLongPath(const std::string& path, int flags)
{
    if (!isTooLongForOneCall(path))
        return ::open(path.c_str(), flags | O_CLOEXEC);
    int folder = AT_FDCWD;
    std::size_t at = 0;
    for (;;) {
        const std::size_t left = path.size() - at;
        const bool last = left < PATH_MAX;
        // A stretch ends at a "/" within reach; a single name longer than that is
        // refused by the system anyway.
        std::size_t end = path.size();
        if (!last) {
            end = path.rfind('/', at + PATH_MAX - 1);
            if (end == std::string::npos || end <= at) {
                if (folder != AT_FDCWD)
                    ::close(folder);
                errno = ENAMETOOLONG;
                return -1;
            }
        }
        const std::string stretch = path.substr(at, end - at);
        const int opened = ::openat(folder, stretch.c_str(),
                                    last ? flags | O_CLOEXEC : O_PATH | O_DIRECTORY | O_CLOEXEC);
        const int error = errno;
        if (folder != AT_FDCWD)
            ::close(folder);
        if (opened < 0 || last) {
            errno = error;
            return opened;
        }
        folder = opened;
        at = end + 1;
    }
}

} // namespace platform
