#include "run/Undo.h"

#include "platform/Folders.h"
#include "platform/OperationTexts.h"
#include "platform/TextCatalog.h"
#include "platform/TrashRestore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace run::undo {

namespace {

std::string takenAtOriginal()
{
    return platform::translate("undo", "元の場所に同じ名前があるため、残しました。");
}

std::int64_t nanoseconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// A regular file whose size and modification time are still those recorded; `now` is
// what it looks like.
bool unchanged(const std::string& path, Recorded recorded, bool& exists, Recorded& now)
{
    struct stat status {};
    exists = ::lstat(path.c_str(), &status) == 0;
    now = recordOf(status);
    const std::int64_t drift = now.mtimeNanoseconds - recorded.mtimeNanoseconds;
    return exists && S_ISREG(status.st_mode) && now.bytes == recorded.bytes
        && (drift < 0 ? -drift : drift) <= recorded.timeSlackNanoseconds;
}

// Same inode and change time: the file has not been written, replaced or renamed over
// (any of which sets the change time to now).
bool untouched(Recorded recorded, Recorded now)
{
    return recorded.changeNanoseconds != 0 && recorded.changeNanoseconds == now.changeNanoseconds
        && recorded.inode == now.inode;
}

// 1: the same bytes; 0: different; -1: `original` cannot be read (gone, or not a file).
// A link as the original is followed: the copy was made of what it points to.
int sameContent(const std::string& original, const std::string& copy)
{
    const int first = ::open(original.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (first < 0)
        return -1;
    struct stat status {};
    if (::fstat(first, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(first);
        return -1;
    }
    const int second = ::open(copy.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    int same = second >= 0 ? 1 : 0;
    static thread_local char left[65536], right[65536];
    while (same == 1) {
        const ssize_t a = ::read(first, left, sizeof left);
        const ssize_t b = ::read(second, right, sizeof right);
        if (a != b || a < 0)
            same = 0;
        else if (a == 0)
            break;
        else if (std::memcmp(left, right, static_cast<std::size_t>(a)) != 0)
            same = 0;
    }
    ::close(first);
    if (second >= 0)
        ::close(second);
    return same;
}

Result failed(std::string reason)
{
    return {false, std::move(reason)};
}

Result failedWith(int error)
{
    return failed(platform::operation_texts::reasonText(error));
}

} // namespace

Recorded recordOf(const struct stat& status)
{
    return {static_cast<std::uint64_t>(status.st_size), nanoseconds(status.st_mtim), nanoseconds(status.st_ctim),
            static_cast<std::uint64_t>(status.st_ino)};
}

bool recordOf(const std::string& path, Recorded& recorded, bool followLinks)
{
    struct stat status {};
    if ((followLinks ? ::stat(path.c_str(), &status) : ::lstat(path.c_str(), &status)) != 0)
        return false;
    recorded = recordOf(status);
    return true;
}

Result removeCopy(const std::string& copy, const std::string& original, Recorded recorded,
                  Recorded recordedOriginal)
{
    bool exists = false;
    Recorded now;
    if (!unchanged(copy, recorded, exists, now))
        return failed(exists ? platform::translate("undo", "コピーの後で変更されているため、残しました。")
                             : platform::translate("undo", "コピーが見つかりません。"));
    // Reading both is needed only when either may have been touched since the run.
    Recorded originalNow;
    const bool known = untouched(recorded, now) && recordOf(original, originalNow, true)
        && untouched(recordedOriginal, originalNow);
    if (!known && sameContent(original, copy) == 0)
        return failed(platform::translate("undo", "元のファイルと内容が違うため、残しました。"));
    if (::unlink(copy.c_str()) != 0)
        return failedWith(errno);
    return {true, {}};
}

Result moveBack(const std::string& moved, const std::string& original, Recorded recorded, bool& across)
{
    across = false;
    bool exists = false;
    Recorded now;
    if (!unchanged(moved, recorded, exists, now))
        return failed(exists ? platform::translate("undo", "移動の後で変更されているため、残しました。")
                             : platform::translate("undo", "移動先に見つかりません。"));
    if (!platform::createParentFolders(original))
        return failedWith(errno);
    if (::renameat2(AT_FDCWD, moved.c_str(), AT_FDCWD, original.c_str(), RENAME_NOREPLACE) == 0)
        return {true, {}};
    if (errno == EEXIST)
        return failed(takenAtOriginal());
    if (errno != EXDEV)
        return failedWith(errno);
    across = true;
    return {false, {}};
}

Result movedAcross(const platform::FileOperationOutcome& outcome)
{
    if (outcome.destinationTaken)
        return failed(takenAtOriginal());
    if (outcome.result != 0)
        return failed(outcome.failureReason.empty() ? platform::translate("undo", "元に戻せませんでした。")
                                                    : outcome.failureReason);
    return {true, {}};
}

Result restoreFromTrash(platform::TrashRestore& trash, const std::string& original)
{
    switch (const int error = trash.restore(original)) {
    case 0:
        return {true, {}};
    case ENOENT:
        return failed(platform::translate("undo", "ごみ箱に見つかりません。"));
    case EEXIST:
        return failed(platform::translate("undo", "元の場所に同じ名前があるため、ごみ箱に残しました。"));
    default:
        return failedWith(error);
    }
}

} // namespace run::undo
