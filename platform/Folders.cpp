#include "platform/Folders.h"

#include "platform/ErrorCodes.h"
#include "platform/PathNames.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::string tempFolder()
{
    std::string folder = "/tmp";
    if (const char* fromEnvironment = std::getenv("TMPDIR");
        fromEnvironment && isAbsolutePath(fromEnvironment))
        folder = fromEnvironment;
    if (folder.back() != '/')
        folder += '/';
    if (folder.size() >= PATH_MAX)
        return {};
    return folder;
}

namespace {

std::string parentOf(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    removeFileSpec(path);
    return path;
}

} // namespace

int createFolderWithParents(const std::string& path)
{
    if (!isAbsolutePath(path))
        return kErrorPathNotFound;
    if (::mkdir(path.c_str(), 0777) == 0)
        return kErrorNone;
    if (errno != ENOENT)
        return errorNumberFromErrno(errno);

    const std::string parent = parentOf(path);
    if (parent == path)
        return kErrorPathNotFound;
    const int parentResult = createFolderWithParents(parent);
    if (parentResult != kErrorNone && parentResult != kErrorAlreadyExists)
        return parentResult == kErrorFileNotFound ? kErrorPathNotFound : parentResult;
    if (::mkdir(path.c_str(), 0777) == 0)
        return kErrorNone;
    // A parent that exists but is no folder surfaces here as ENOTDIR.
    const int error = errorNumberFromErrno(errno);
    return error == kErrorFileNotFound ? kErrorPathNotFound : error;
}

bool createParentFolders(const std::string& path)
{
    const std::string parent = parentOf(path);
    const int result = parent == path ? kErrorNone : createFolderWithParents(parent);
    return result == kErrorNone || result == kErrorAlreadyExists;
}

bool canListFolder(const std::string& path)
{
    if (!isAbsolutePath(path))
        return false;
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

} // namespace platform
