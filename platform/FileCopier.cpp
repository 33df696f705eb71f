#include "platform/FileCopier.h"

#include "platform/HiddenCopies.h"
#include "platform/OperationTexts.h"
#include "platform/OperationWindow.h"
#include "platform/TreeRemoval.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <memory>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

// Content moves in blocks of this size, so that a cancel is seen and the progress
// window moves during a big file.
constexpr std::size_t kBlockBytes = 8 * 1024 * 1024;
// Where the kernel will not copy by itself, content is read and written in pieces of
// this size: larger pieces gain nothing once the kernel reads ahead (from a share as
// from a local disk), and this one stays in the processor's cache.
constexpr std::size_t kReadBytes = 256 * 1024;
// Below this size a clone attempt costs more than it can save.
constexpr std::uint64_t kCloneFromBytes = 1024 * 1024;

bool unnamedFilesLinkable()
{
    // Linking an unnamed file into place may have to go through its /proc entry.
    static const bool available = ::access("/proc/self/fd", X_OK) == 0;
    return available;
}

// Links the unnamed file `fd` as `name` in `folderFd`. Straight from the descriptor
// where the kernel allows it (it does for privileged callers, and recent kernels for
// the file's own opener): that spares the lookup of a /proc entry, which the kernel
// builds anew for each file. Elsewhere the /proc entry, which needs no privilege.
int linkDescriptor(int fd, int folderFd, const char* name)
{
    static std::atomic<bool> emptyPathRefused{false};
    if (!emptyPathRefused.load(std::memory_order_relaxed)) {
        if (::linkat(fd, "", folderFd, name, AT_EMPTY_PATH) == 0)
            return 0;
        // A refusal says ENOENT, as does a folder removed meanwhile: only a /proc link
        // that works where this failed tells them apart.
        if (errno != ENOENT)
            return errno;
    }
    const std::string procPath = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, procPath.c_str(), folderFd, name, AT_SYMLINK_FOLLOW) != 0)
        return errno;
    emptyPathRefused.store(true, std::memory_order_relaxed);
    return 0;
}

// Gives the open copy `fd` the source's permission bits (only those: set-user-id and
// the like would be handed to the copy's new owner) and times. A file system that keeps
// no permission bits (FAT, some FUSE ones) refuses the first: the copy is still whole.
int keepModeAndTimes(int fd, const struct stat& source)
{
    if (::fchmod(fd, source.st_mode & 0777) != 0 && errno != ENOSYS && errno != EOPNOTSUPP && errno != EPERM)
        return errno;
    const struct timespec times[2] = {source.st_atim, source.st_mtim};
    return ::futimens(fd, times) != 0 && errno != ENOSYS && errno != EOPNOTSUPP ? errno : 0;
}

// Gives a copied folder the source's permission bits and times. Done after its
// content is in, which would otherwise change the time again.
int settleFolder(const std::string& path, const struct stat& source)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = keepModeAndTimes(fd, source);
    ::close(fd);
    return error;
}

std::vector<std::string> namesInFolder(const std::string& path, int& error)
{
    std::vector<std::string> names;
    DIR* folder = ::opendir(path.c_str());
    error = folder ? 0 : errno;
    if (!folder)
        return names;
    while (const dirent* entry = ::readdir(folder)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names.emplace_back(entry->d_name);
    }
    ::closedir(folder);
    return names;
}

// Makes the new name itself last, before a move removes the source.
void flushFolder(int folderFd, const std::string& folder)
{
    const int fd = ::openat(folderFd, folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

int moveName(int fromFd, const char* from, int toFd, const char* to, Placement placement)
{
    if (placement == Placement::Replace)
        return ::renameat(fromFd, from, toFd, to) == 0 ? 0 : errno;
    if (::renameat2(fromFd, from, toFd, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL)
        return errno;
    // The file system refuses the no-replace flag: a link never replaces either.
    if (::linkat(fromFd, from, toFd, to, 0) == 0) {
        ::unlinkat(fromFd, from, 0);
        return 0;
    }
    if (errno == EEXIST)
        return EEXIST;
    // Folders cannot be linked: rename once the name is seen to be free.
    struct stat taken {};
    if (::fstatat(toFd, to, &taken, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    return ::renameat(fromFd, from, toFd, to) == 0 ? 0 : errno;
}

int FileCopier::nextBlockError() const
{
    if (m_report.cancelRequested())
        return ECANCELED;
    return m_beforeBlock ? m_beforeBlock() : 0;
}

int FileCopier::copyByReading(int in, int out)
{
    static thread_local std::vector<char> buffer(kReadBytes);
    // Read from start to end: the kernel then reads ahead twice as far, which on a
    // share or a FUSE file system halves the round trips of a large file.
    ::posix_fadvise(in, 0, 0, POSIX_FADV_SEQUENTIAL);
    for (;;) {
        if (const int error = nextBlockError())
            return error;
        const ssize_t got = ::read(in, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            return 0;
        for (ssize_t written = 0; written < got;) {
            const ssize_t put = ::write(out, buffer.data() + written,
                                        static_cast<std::size_t>(got - written));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return errno;
            }
            written += put;
        }
        m_report.addBytes(static_cast<std::uint64_t>(got));
    }
}

int FileCopier::copyContent(int in, int out, std::uint64_t size)
{
    if (size >= kCloneFromBytes && !m_cloneRefused && !m_beforeBlock) {
        if (::ioctl(out, FICLONE, in) == 0) {
            m_report.addBytes(size);
            return 0;
        }
        m_cloneRefused = true; // the file systems at hand share no blocks: stop asking
    }
    // The copy ends at the size the source had when it was opened, which spares a
    // small file the second call that would only report the end. The times the copy
    // gets are from that same moment. A file that says it is empty is copied to its
    // end all the same: some (in /proc, for one) have content they do not count.
    for (std::uint64_t done = 0;;) {
        // A cancel during the last block still stops the copy, as it would before a
        // call that found the end.
        if (const int error = nextBlockError())
            return error;
        if (size != 0 && done >= size)
            return 0;
        const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, kBlockBytes, 0);
        if (copied < 0) {
            if (errno == EINTR)
                continue;
            // Across some file systems the kernel will not copy by itself; the file
            // offsets have advanced by what was copied, so reading goes on from there.
            if (errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP || errno == ENOSYS)
                return copyByReading(in, out);
            return errno;
        }
        if (copied == 0)
            return 0;
        done += static_cast<std::uint64_t>(copied);
        m_report.addBytes(static_cast<std::uint64_t>(copied));
    }
}

std::string FileCopier::temporaryName(const std::string& folder)
{
    return hiddenCopyName(folder);
}

int FileCopier::createUnderTemporaryName(const std::string& folder,
                                         const std::function<int(const char*)>& create,
                                         std::string& path)
{
    for (;;) {
        path = temporaryName(folder);
        if (create(path.c_str()) == 0)
            return 0;
        if (errno != EEXIST)
            return errno;
    }
}

int FileCopier::replaceThroughTemporary(const Spot& spot,
                                        const std::function<int(const char*)>& create)
{
    std::string temporary;
    if (const int error = createUnderTemporaryName(spot.folder, create, temporary))
        return error;
    const int error = moveName(spot.folderFd, temporary.c_str(), spot.folderFd,
                               spot.name.c_str(), Placement::Replace);
    if (error != 0)
        ::unlinkat(spot.folderFd, temporary.c_str(), 0);
    return error;
}

int FileCopier::linkUnnamed(int fd, const Spot& spot, Placement placement)
{
    if (placement == Placement::NeverReplace)
        return linkDescriptor(fd, spot.folderFd, spot.name.c_str());
    // Replacing: give the copy a hidden name first, then rename it over the old file
    // in one step, so that the old file stays whole until the new one is complete.
    return replaceThroughTemporary(spot, [&](const char* candidate) {
        errno = linkDescriptor(fd, spot.folderFd, candidate);
        return errno == 0 ? 0 : -1;
    });
}

FileCopier::Spot FileCopier::spotOf(const std::string& destination)
{
    const std::size_t slash = destination.rfind('/');
    return {AT_FDCWD, slash == 0 ? std::string("/") : destination.substr(0, slash), destination};
}

int FileCopier::copyFile(const std::string& source, const std::string& destination,
                         Placement placement, bool flush)
{
    return copyFileTo(source, spotOf(destination), placement, flush);
}

int FileCopier::copyFile(const std::string& source, int folderFd, const std::string& name,
                         Placement placement, bool flush, PreparedCopy* prepared)
{
    const Spot spot{folderFd, ".", name};
    // A test that makes copying fail on purpose gets the copy it means to break.
    const bool usable = prepared && prepared->ready()
        && prepared->m_source == source && !flush
        && !m_beforeBlock && (!m_avoidUnnamedFiles || !prepared->m_temporary.empty());
    if (usable) {
        const int error = placePrepared(*prepared, spot, placement);
        if (error >= 0)
            return error;
    }
    return copyFileTo(source, spot, placement, flush);
}

PreparedCopy& PreparedCopy::operator=(PreparedCopy&& other) noexcept
{
    if (this != &other) {
        close();
        m_source = std::move(other.m_source);
        m_in = std::exchange(other.m_in, -1);
        m_out = std::exchange(other.m_out, -1);
        m_status = other.m_status;
        m_temporary = std::exchange(other.m_temporary, {});
        m_folderFd = std::exchange(other.m_folderFd, -1);
        m_sourceAfter = other.m_sourceAfter;
        m_copyStatus = other.m_copyStatus;
    }
    return *this;
}

void PreparedCopy::close()
{
    if (m_in >= 0)
        ::close(m_in);
    if (m_out >= 0)
        ::close(m_out);
    m_in = m_out = -1;
    if (!m_temporary.empty())
        ::unlinkat(m_folderFd, m_temporary.c_str(), 0);
    m_temporary.clear();
}

int FileCopier::writeCopy(const std::string& source, const Spot& spot, bool unnamedOnly,
                          PreparedCopy& copy, std::string& temporary)
{
    // O_NONBLOCK: a FIFO put in place of the file must not block the open. Regular
    // files ignore the flag, so it can stay.
    copy.close();
    copy.m_in = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (copy.m_in < 0)
        return errno;
    if (::fstat(copy.m_in, &copy.m_status) != 0)
        return errno;
    if (!S_ISREG(copy.m_status.st_mode))
        return operation_texts::kNotRegularFile;

    if (!m_avoidUnnamedFiles && unnamedFilesLinkable()) {
        copy.m_out = ::openat(spot.folderFd, spot.folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (copy.m_out < 0 && (unnamedOnly || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)))
            return errno;
    } else if (unnamedOnly) {
        return EOPNOTSUPP;
    }
    if (copy.m_out < 0) {
        if (const int error = createUnderTemporaryName(
                spot.folder,
                [&](const char* candidate) {
                    copy.m_out = ::openat(spot.folderFd, candidate,
                                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
                    return copy.m_out < 0 ? -1 : 0;
                },
                temporary))
            return error;
    }
    const int error = copyContent(copy.m_in, copy.m_out, static_cast<std::uint64_t>(copy.m_status.st_size));
    return error != 0 ? error : keepModeAndTimes(copy.m_out, copy.m_status);
}

void FileCopier::notePlaced(const PreparedCopy& copy)
{
    // A copy made ahead looked at its source as it closed it.
    CopiedFile copied{copy.m_status, copy.m_sourceAfter, copy.m_copyStatus};
    const bool sourceSeen = copy.m_in < 0 || ::fstat(copy.m_in, &copied.sourceAfter) == 0;
    if (sourceSeen && (copy.m_out < 0 || ::fstat(copy.m_out, &copied.copy) == 0))
        m_lastCopied = copied;
}

int FileCopier::copyFileTo(const std::string& source, const Spot& spot, Placement placement,
                           bool flush)
{
    m_lastCopied.reset();
    PreparedCopy copy;
    std::string temporary; // path of the hidden temporary file, when one is used
    int error = writeCopy(source, spot, false, copy, temporary);
    if (error == 0 && flush && ::fsync(copy.m_out) != 0)
        error = errno;
    if (error == 0) {
        error = temporary.empty() ? linkUnnamed(copy.m_out, spot, placement)
                                  : moveName(spot.folderFd, temporary.c_str(), spot.folderFd,
                                             spot.name.c_str(), placement);
    }
    if (error == 0 && flush)
        flushFolder(spot.folderFd, spot.folder);
    if (error == 0)
        notePlaced(copy);
    if (error != 0 && !temporary.empty())
        ::unlinkat(spot.folderFd, temporary.c_str(), 0);
    return error;
}

int FileCopier::prepareCopy(const std::string& source, int folderFd, PreparedCopy& copy,
                            bool hiddenNameAllowed, const std::string& within)
{
    // The status first, so that a FIFO put in place of the file is not even opened:
    // that alone could wake a program waiting to write into it.
    struct stat status {};
    if (::stat(source.c_str(), &status) != 0)
        return errno;
    if (!S_ISREG(status.st_mode))
        return operation_texts::kNotRegularFile;
    std::string temporary;
    int error = writeCopy(source, {folderFd, within, {}}, !hiddenNameAllowed, copy, temporary);
    // Kept with the copy from the moment it exists, so that dropping it removes it.
    copy.m_temporary = std::move(temporary);
    copy.m_folderFd = folderFd;
    // The source is done with once its content is in: how it looks now is how the copy
    // found it, and closing it here, not as the copy is placed, keeps that round trip
    // to a share off the thread that places the files one after another.
    if (error == 0 && ::fstat(copy.m_in, &copy.m_sourceAfter) != 0)
        error = errno;
    if (error == 0 && !copy.m_temporary.empty()) {
        // Placed by its name: the copy's descriptor is not needed to place it. Its
        // change time as seen now may differ from the placed file's; a journal then
        // tells the copy by its content.
        if (::fstat(copy.m_out, &copy.m_copyStatus) != 0)
            error = errno;
        if (error == 0 && ::close(std::exchange(copy.m_out, -1)) != 0)
            error = errno; // a share reports a failed write as late as this
    }
    if (copy.m_in >= 0)
        ::close(std::exchange(copy.m_in, -1));
    if (error != 0) {
        copy.close();
        return error;
    }
    copy.m_source = source;
    return 0;
}

int FileCopier::placePrepared(PreparedCopy& copy, const Spot& spot, Placement placement)
{
    // Counted as the usual copy counts its content: before the cancel that may undo it.
    m_lastCopied.reset();
    if (copy.m_status.st_size > 0)
        m_report.addBytes(static_cast<std::uint64_t>(copy.m_status.st_size));
    if (m_report.cancelRequested())
        return ECANCELED;
    const int error = copy.m_temporary.empty()
        ? linkUnnamed(copy.m_out, spot, placement)
        : moveName(copy.m_folderFd, copy.m_temporary.c_str(), spot.folderFd, spot.name.c_str(), placement);
    if (error == EEXIST)
        return EEXIST; // the name is taken: the copy waits for the next one
    if (error != 0) {
        // The folder may be gone or on another file system by now: a fresh copy
        // finds out which, and says so.
        copy.close();
        return -1;
    }
    copy.m_temporary.clear(); // it is the placed file's name now
    notePlaced(copy);
    copy.close();
    return 0;
}

int FileCopier::copyFolderContents(const std::string& source, const std::string& copy,
                                   std::vector<MadeFolder>& made)
{
    int error = 0;
    const std::vector<std::string> names = namesInFolder(source, error);
    for (const std::string& name : names) {
        if (error != 0)
            break;
        if (m_report.cancelRequested())
            return ECANCELED;
        const std::string from = source + "/" + name;
        const std::string to = copy + "/" + name;
        struct stat status {};
        if (::lstat(from.c_str(), &status) != 0)
            return errno;
        if (S_ISDIR(status.st_mode)) {
            // Private until complete; the folder's own bits come once all is in.
            if (::mkdir(to.c_str(), 0700) != 0)
                return errno;
            error = copyFolderContents(from, to, made);
            made.push_back({to, status});
        } else if (S_ISLNK(status.st_mode)) {
            error = copyLink(from, to, Placement::NeverReplace);
            const struct timespec times[2] = {status.st_atim, status.st_mtim};
            if (error == 0 && ::utimensat(AT_FDCWD, to.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
                error = errno;
        } else {
            // A FIFO or device inside fails the whole copy: leaving it out would lose it
            // when a move then removes the source.
            error = S_ISREG(status.st_mode)
                ? copyFile(from, to, Placement::NeverReplace, false)
                : operation_texts::kNotRegularFile;
        }
    }
    return error;
}

int FileCopier::copyTree(const std::string& source, const std::string& destination,
                         Placement placement, bool flush)
{
    struct stat status {};
    if (::stat(source.c_str(), &status) != 0)
        return errno;
    const Spot spot = spotOf(destination);
    std::string temporary;
    if (const int error = createUnderTemporaryName(
            spot.folder, [](const char* candidate) { return ::mkdir(candidate, 0700); }, temporary))
        return error;

    std::vector<MadeFolder> made;
    int error = copyFolderContents(source, temporary, made);
    made.push_back({temporary, status});
    // Inner folders first, so that a read-only folder is settled only once full.
    for (std::size_t i = 0; i < made.size() && error == 0; ++i)
        error = settleFolder(made[i].path, made[i].source);
    if (error == 0 && flush) {
        // One flush of the whole file system costs less than one per file and folder.
        const int fd = ::open(temporary.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0 || ::syncfs(fd) != 0)
            error = errno;
        if (fd >= 0)
            ::close(fd);
    }
    if (error == 0)
        error = moveName(AT_FDCWD, temporary.c_str(), AT_FDCWD, destination.c_str(), placement);
    if (error != 0) {
        // Read-only folders of the copy would keep their content from being removed.
        for (const MadeFolder& entry : made)
            ::chmod(entry.path.c_str(), 0700);
        removeForGood(temporary);
        return error;
    }
    if (flush)
        flushFolder(AT_FDCWD, spot.folder);
    return 0;
}

int FileCopier::copyLink(const std::string& source, const std::string& destination,
                         Placement placement)
{
    std::array<char, 4096> target{};
    const ssize_t length = ::readlink(source.c_str(), target.data(), target.size() - 1);
    if (length < 0)
        return errno;
    if (placement == Placement::NeverReplace)
        return ::symlink(target.data(), destination.c_str()) == 0 ? 0 : errno;
    return replaceThroughTemporary(spotOf(destination), [&](const char* candidate) {
        return ::symlink(target.data(), candidate);
    });
}

} // namespace platform
