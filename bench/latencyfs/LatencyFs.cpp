#include "LatencyFs.h"

#include <cerrno>
#include <cstdint>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

LatencyFs& state()
{
    return *static_cast<LatencyFs*>(fuse_get_context()->private_data);
}

// The round trip of one call. An absolute deadline, so that a signal does not make it
// shorter or longer.
void roundTrip()
{
    const std::chrono::nanoseconds delay = state().delay;
    if (delay.count() <= 0)
        return;
    timespec deadline {};
    ::clock_gettime(CLOCK_MONOTONIC, &deadline);
    const long long end = deadline.tv_nsec + delay.count();
    deadline.tv_sec += static_cast<time_t>(end / 1'000'000'000);
    deadline.tv_nsec = static_cast<long>(end % 1'000'000'000);
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

// A path of the mount ("/" or "/a/b") as a name relative to the backing folder.
const char* relative(const char* path)
{
    return path[1] == '\0' ? "." : path + 1;
}

int result(int returned)
{
    return returned == -1 ? -errno : 0;
}

int descriptor(const fuse_file_info* file)
{
    return static_cast<int>(file->fh);
}

DIR* folderOf(const fuse_file_info* file)
{
    return reinterpret_cast<DIR*>(static_cast<std::uintptr_t>(file->fh));
}

void* init(fuse_conn_info* connection, fuse_config* config)
{
    // Lookups and listings in one folder may run side by side, as on a share; libfuse's
    // own locking keeps its tree consistent.
    if (connection->capable & FUSE_CAP_PARALLEL_DIROPS)
        connection->want |= FUSE_CAP_PARALLEL_DIROPS;
    // Reads ahead and releases are sent in the background, by default 12 at a time; a
    // share's client keeps far more in flight.
    connection->max_background = 64;
    config->use_ino = 1;     // the backing inode numbers, stable as on a share
    config->nullpath_ok = 1; // calls on an open file need no name
    config->hard_remove = 1; // no .fuse_hidden files: the descriptors keep removed files
    return fuse_get_context()->private_data;
}

int getattr(const char* path, struct stat* status, fuse_file_info* file)
{
    roundTrip();
    if (file)
        return result(::fstat(descriptor(file), status));
    return result(::fstatat(state().root, relative(path), status, AT_SYMLINK_NOFOLLOW));
}

int readlink(const char* path, char* buffer, size_t size)
{
    roundTrip();
    const ssize_t length = ::readlinkat(state().root, relative(path), buffer, size - 1);
    if (length < 0)
        return -errno;
    buffer[length] = '\0';
    return 0;
}

int mkdir(const char* path, mode_t mode)
{
    roundTrip();
    return result(::mkdirat(state().root, relative(path), mode));
}

int unlink(const char* path)
{
    roundTrip();
    return result(::unlinkat(state().root, relative(path), 0));
}

int rmdir(const char* path)
{
    roundTrip();
    return result(::unlinkat(state().root, relative(path), AT_REMOVEDIR));
}

int symlink(const char* target, const char* path)
{
    roundTrip();
    return result(::symlinkat(target, state().root, relative(path)));
}

// RENAME_NOREPLACE and RENAME_EXCHANGE reach the backing folder as they came.
int rename(const char* from, const char* to, unsigned int flags)
{
    roundTrip();
    return result(::renameat2(state().root, relative(from), state().root, relative(to), flags));
}

int link(const char* from, const char* to)
{
    roundTrip();
    return result(::linkat(state().root, relative(from), state().root, relative(to), 0));
}

int chmod(const char* path, mode_t mode, fuse_file_info* file)
{
    roundTrip();
    if (file)
        return result(::fchmod(descriptor(file), mode));
    return result(::fchmodat(state().root, relative(path), mode, 0));
}

int chown(const char* path, uid_t user, gid_t group, fuse_file_info* file)
{
    roundTrip();
    if (file)
        return result(::fchown(descriptor(file), user, group));
    return result(::fchownat(state().root, relative(path), user, group, AT_SYMLINK_NOFOLLOW));
}

int truncate(const char* path, off_t size, fuse_file_info* file)
{
    roundTrip();
    if (file)
        return result(::ftruncate(descriptor(file), size));
    const int opened = ::openat(state().root, relative(path), O_WRONLY | O_CLOEXEC);
    if (opened < 0)
        return -errno;
    const int outcome = result(::ftruncate(opened, size));
    ::close(opened);
    return outcome;
}

int open(const char* path, fuse_file_info* file)
{
    roundTrip();
    const int opened = ::openat(state().root, relative(path), file->flags | O_CLOEXEC);
    if (opened < 0)
        return -errno;
    file->fh = static_cast<std::uint64_t>(opened);
    state().stall->opened(path, file->fh);
    return 0;
}

int create(const char* path, mode_t mode, fuse_file_info* file)
{
    roundTrip();
    const int opened = ::openat(state().root, relative(path), file->flags | O_CLOEXEC, mode);
    if (opened < 0)
        return -errno;
    file->fh = static_cast<std::uint64_t>(opened);
    return 0;
}

int read(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* file)
{
    roundTrip();
    state().stall->wait(file->fh);
    const ssize_t got = ::pread(descriptor(file), buffer, size, offset);
    return got < 0 ? -errno : static_cast<int>(got);
}

int write(const char*, const char* buffer, size_t size, off_t offset, fuse_file_info* file)
{
    roundTrip();
    const ssize_t put = ::pwrite(descriptor(file), buffer, size, offset);
    return put < 0 ? -errno : static_cast<int>(put);
}

int statfs(const char*, struct statvfs* status)
{
    roundTrip();
    return result(::fstatvfs(state().root, status));
}

// Each close() of a descriptor is a round trip of its own, as on a share that writes
// back on close.
int flush(const char*, fuse_file_info* file)
{
    roundTrip();
    return result(::close(::dup(descriptor(file))));
}

int release(const char*, fuse_file_info* file)
{
    roundTrip();
    state().stall->closed(file->fh);
    ::close(descriptor(file));
    return 0;
}

int fsync(const char*, int dataOnly, fuse_file_info* file)
{
    roundTrip();
    return result(dataOnly ? ::fdatasync(descriptor(file)) : ::fsync(descriptor(file)));
}

int opendir(const char* path, fuse_file_info* file)
{
    roundTrip();
    const int opened = ::openat(state().root, relative(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (opened < 0)
        return -errno;
    DIR* folder = ::fdopendir(opened);
    if (!folder) {
        const int error = errno;
        ::close(opened);
        return -error;
    }
    file->fh = reinterpret_cast<std::uintptr_t>(folder);
    state().stall->opened(path, file->fh);
    return 0;
}

// The whole listing in one call (every offset 0: the library keeps it and hands it out
// in pieces), with each entry's attributes when the kernel asks for them, as a share's
// listing brings them along.
int readdir(const char*, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info* file,
            fuse_readdir_flags flags)
{
    roundTrip();
    state().stall->wait(file->fh);
    DIR* folder = folderOf(file);
    ::rewinddir(folder);
    const bool withAttributes = (flags & FUSE_READDIR_PLUS) != 0;
    errno = 0;
    while (const dirent* entry = ::readdir(folder)) {
        struct stat status {};
        auto fillFlags = static_cast<fuse_fill_dir_flags>(0);
        if (withAttributes && ::fstatat(::dirfd(folder), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
            fillFlags = FUSE_FILL_DIR_PLUS;
        } else {
            status.st_ino = entry->d_ino;
            status.st_mode = DTTOIF(entry->d_type);
        }
        if (fill(buffer, entry->d_name, &status, 0, fillFlags) != 0)
            return -ENOMEM;
    }
    return -errno;
}

int releasedir(const char*, fuse_file_info* file)
{
    roundTrip();
    state().stall->closed(file->fh);
    ::closedir(folderOf(file));
    return 0;
}

int utimens(const char* path, const timespec times[2], fuse_file_info* file)
{
    roundTrip();
    if (file)
        return result(::futimens(descriptor(file), times));
    return result(::utimensat(state().root, relative(path), times, AT_SYMLINK_NOFOLLOW));
}

int fallocate(const char*, int mode, off_t offset, off_t length, fuse_file_info* file)
{
    roundTrip();
    return result(::fallocate(descriptor(file), mode, offset, length));
}

fuse_operations makeOperations()
{
    fuse_operations operations {};
    operations.getattr = getattr;
    operations.readlink = readlink;
    operations.mkdir = mkdir;
    operations.unlink = unlink;
    operations.rmdir = rmdir;
    operations.symlink = symlink;
    operations.rename = rename;
    operations.link = link;
    operations.chmod = chmod;
    operations.chown = chown;
    operations.truncate = truncate;
    operations.open = open;
    operations.read = read;
    operations.write = write;
    operations.statfs = statfs;
    operations.flush = flush;
    operations.release = release;
    operations.fsync = fsync;
    operations.opendir = opendir;
    operations.readdir = readdir;
    operations.releasedir = releasedir;
    operations.init = init;
    operations.create = create;
    operations.utimens = utimens;
    operations.fallocate = fallocate;
    return operations;
}

} // namespace

const fuse_operations& latencyOperations()
{
    static const fuse_operations operations = makeOperations();
    return operations;
}
