#include "settings/SettingsStorage.h"

#include "platform/Folders.h"

#include <cerrno>
#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {

namespace {

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The file a link points to, so that replacing it keeps the link.
std::string followLink(const std::string& path)
{
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

bool writeAll(int fd, std::string_view contents)
{
    while (!contents.empty()) {
        const ssize_t written = ::write(fd, contents.data(), contents.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Permissions of the new file: those of the file it replaces, or what a plain
// create would give.
mode_t modeFor(const std::string& target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes the contents over the existing file, then cuts it to their length, so that
// until the last step the file is never shorter than the old one. `refusal` is the
// answer when the file itself cannot be opened for writing.
int rewriteInPlace(const std::string& target, std::string_view contents, int refusal)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? refusal : errno;
    int error = 0;
    if (!writeAll(fd, contents) || ::ftruncate(fd, static_cast<off_t>(contents.size())) != 0
        || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

// A rename replaces a file whatever its permissions, and root may write any file: the
// protection the user put on the file is looked at here. The owner and root go by the
// owner's write bit; anyone else is asked of the system.
bool isWriteProtected(const std::string& target)
{
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0)
        return false; // nothing there yet
    const uid_t user = ::geteuid();
    if (user == 0 || user == info.st_uid)
        return (info.st_mode & S_IWUSR) == 0;
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES;
}

} // namespace

std::optional<FileStart> readFileStart(const std::string& path)
{
    // Without blocking: a FIFO put in the file's place must not hang the start-up. Only
    // a regular file is read; a link to a device is as unreadable as a missing file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    // One byte past the limit tells whether the file goes on.
    FileStart start;
    char buffer[8192];
    for (;;) {
        const std::size_t wanted = std::min(sizeof buffer, kLargestSettingsFile + 1 - start.bytes.size());
        const ssize_t got = ::read(fd, buffer, wanted);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        start.bytes.append(buffer, static_cast<std::size_t>(got));
        if (start.bytes.size() > kLargestSettingsFile) {
            start.bytes.resize(kLargestSettingsFile);
            start.whole = false;
            break;
        }
    }
    ::close(fd);
    return start;
}

int replaceWholeFile(const std::string& path, std::string_view contents)
{
    const std::string target = followLink(path);
    if (isWriteProtected(target))
        return EACCES;
    const std::string folder = folderOf(target);
    // A failure here shows up, with its reason, when the new file is created below.
    platform::createFolderWithParents(folder);

    const std::size_t slash = target.rfind('/');
    std::string temporary = folder + "/." + target.substr(slash == std::string::npos ? 0 : slash + 1)
        + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        // A file the user may write in a folder they may not (one placed beside an
        // installed program): the only way left is to write it where it is.
        return errno == EACCES ? rewriteInPlace(target, contents, EACCES) : errno;
    }

    int error = 0;
    if (::fchmod(fd, modeFor(target)) != 0 || !writeAll(fd, contents) || ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    // Makes the new name itself durable; the file is complete either way.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return 0;
}

} // namespace settings
