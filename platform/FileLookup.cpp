#include "platform/FileLookup.h"

#include "platform/FolderListing.h"
#include "platform/PathNames.h"
#include "platform/Wildcard.h"

#include <cerrno>
#include <sys/stat.h>

namespace platform {

namespace {

bool isHiddenName(std::string_view name)
{
    return !name.empty() && name.front() == '.';
}

bool isFolderFollowingLinks(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

bool visibleFileExists(const std::string& path)
{
    if (!isAbsolutePath(path))
        return false;
    const std::size_t nameStart = path.rfind('/') + 1;
    const std::string_view name = std::string_view(path).substr(nameStart);

    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0)
        return !isHiddenName(name) && !isFolderFollowingLinks(path);
    // A name that exists is always taken as itself; only a missing one is a pattern.
    if (errno != ENOENT || !hasWildcard(name))
        return false;

    FolderListing folder;
    if (!folder.read(path.substr(0, nameStart)))
        return false;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (!folder.isFolder(i) && !isHiddenName(folder.name(i))
            && wildcardMatch(name, folder.name(i)))
            return true;
    }
    return false;
}

} // namespace platform
