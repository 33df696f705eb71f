#include "platform/NonFolderRemover.h"

#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

int unlinkNonFolder(int folderFd, const char* name)
{
    // unlink never removes a folder, so nothing needs a look first: its answer tells.
    if (::unlinkat(folderFd, name, 0) == 0)
        return 0;
    const int error = errno;
    if (error == EISDIR)
        return error;
    // Where the folder's own rules refuse first ("not permitted", "access denied"), a
    // folder is still reported as a folder; a look that fails gives its own reason.
    struct stat status {};
    if (::fstatat(folderFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    return S_ISDIR(status.st_mode) ? EISDIR : error;
}

} // namespace

NonFolderRemover::~NonFolderRemover()
{
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

int NonFolderRemover::remove(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash + 1 == path.size())
        return unlinkNonFolder(AT_FDCWD, path.c_str());
    const std::string_view folder(path.data(), slash == 0 ? 1 : slash);
    if (m_folderFd < 0 || folder != m_folder) {
        if (m_folderFd >= 0)
            ::close(m_folderFd);
        m_folder.assign(folder);
        m_folderFd = ::open(m_folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    }
    // A folder that does not open (gone, refused, out of descriptors): the whole path
    // then fails, or not, for its own reason.
    if (m_folderFd < 0)
        return unlinkNonFolder(AT_FDCWD, path.c_str());
    return unlinkNonFolder(m_folderFd, path.c_str() + slash + 1);
}

} // namespace platform
