// The second half of moves to another file system made in batches: their copies were
// placed without a flush each, so one flush of the file system they are on makes all of
// them last, and only then do the sources go.
#include "platform/ErrorCodes.h"
#include "platform/FileOperationEngine.h"
#include "platform/OperationTexts.h"
#include "platform/OperationWindow.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

using operation_texts::Verb;

// Removals under way at once. A removal on a disk that discards freed blocks waits for
// the device, so a few overlap well even on two processors.
constexpr std::size_t kRemovers = 4;

std::int64_t nanoseconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

int flushFileSystemOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::syncfs(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

// 0, or why the source stays. A source written since it was copied holds more than its
// copy: removing it would lose that.
int removeSource(const LeftSource& move)
{
    struct stat now {};
    if (::lstat(move.source.c_str(), &now) != 0)
        return errno;
    if (now.st_ino != move.inode || nanoseconds(now.st_ctim) != move.changeNanoseconds
        || static_cast<std::uint64_t>(now.st_size) != move.bytes)
        return operation_texts::kChangedSinceCopied;
    return ::unlink(move.source.c_str()) == 0 ? 0 : errno;
}

std::vector<int> removeSources(const std::vector<LeftSource>& moves)
{
    std::vector<int> errors(moves.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < moves.size();)
            errors[i] = removeSource(moves[i]);
    };
    std::vector<std::jthread> removers; // joined on the way out, however it is left
    try {
        for (std::size_t i = 1; i < std::min(kRemovers, moves.size()); ++i)
            removers.emplace_back(work);
    } catch (const std::system_error&) {
        // No more threads to be had: the ones there are do the work.
    }
    work();
    return errors;
}

} // namespace

std::vector<FileOperationOutcome> finishMoves(const std::vector<LeftSource>& moves,
                                              OperationWindow& window, std::uint64_t ownerWindow)
{
    std::vector<FileOperationOutcome> outcomes(moves.size());
    if (moves.empty())
        return outcomes;
    bool stop = false;
    const auto fail = [&](std::size_t i, int error, const std::string& line, const std::string& text) {
        outcomes[i].result = error > 0 ? errorNumberFromErrno(error) : kErrorGeneric;
        outcomes[i].failureReason = line;
        // One message for each failure until the user chooses to stop.
        if (!stop && !text.empty())
            stop = window.choose(ownerWindow, text, operation_texts::errorButtons(), 0) == 1;
        outcomes[i].stopRequested = stop;
    };
    window.runWithProgress(ownerWindow, operation_texts::progressTitle(Verb::Move), false,
                           [&](ProgressReport&) {
        if (const int error = flushFileSystemOf(moves.front().copy)) {
            // A copy that may never reach the disk is no copy: the sources stay, and the
            // copies go, as after any failed move.
            const std::string line = operation_texts::failureLine(Verb::Move, error);
            for (std::size_t i = 0; i < moves.size(); ++i) {
                ::unlink(moves[i].copy.c_str());
                fail(i, error, line,
                     i == 0 ? operation_texts::errorText(Verb::Move, moves[i].source, error) : std::string());
            }
            return;
        }
        const std::vector<int> errors = removeSources(moves);
        for (std::size_t i = 0; i < moves.size(); ++i) {
            if (errors[i] != 0)
                fail(i, errors[i], operation_texts::notRemovedLine(false, errors[i]),
                     operation_texts::notRemovedText(moves[i].source, false, errors[i]));
        }
    });
    return outcomes;
}

} // namespace platform
