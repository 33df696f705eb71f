#include "platform/TreeRemoval.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

int removeAt(int folderFd, const char* name);

// Empties the folder open as `folderFd` (the descriptor is consumed).
int removeContents(int folderFd)
{
    DIR* folder = ::fdopendir(folderFd);
    if (!folder) {
        const int error = errno;
        ::close(folderFd);
        return error;
    }
    int firstError = 0;
    // Removing entries while reading the folder is safe on Linux: every entry present
    // when reading began is returned once.
    while (const dirent* entry = ::readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        const int error = removeAt(::dirfd(folder), entry->d_name);
        if (error != 0 && firstError == 0)
            firstError = error;
    }
    ::closedir(folder);
    return firstError;
}

int removeAt(int folderFd, const char* name)
{
    // Most entries are files: try the one call that removes them first.
    if (::unlinkat(folderFd, name, 0) == 0)
        return 0;
    if (errno != EISDIR && errno != EPERM)
        return errno;
    const int unlinkError = errno;
    // O_NOFOLLOW: a link that appeared in place of the folder is never followed.
    const int fd = ::openat(folderFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOTDIR || errno == ELOOP ? unlinkError : errno;
    const int contentsError = removeContents(fd);
    if (::unlinkat(folderFd, name, AT_REMOVEDIR) == 0)
        return 0;
    return contentsError != 0 ? contentsError : errno;
}

} // namespace

int removeForGood(const std::string& path)
{
    return removeAt(AT_FDCWD, path.c_str());
}

} // namespace platform
