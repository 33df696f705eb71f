#include "platform/MoveFinisher.h"

#include "platform/ErrorCodes.h"
#include "platform/ManyAtOnce.h"
#include "platform/OperationTexts.h"
#include "platform/OperationWindow.h"

#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace platform {

namespace {

using operation_texts::Verb;

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

// A removal on a local disk that discards freed blocks waits for the device, so two
// overlap well; on a share each waits for round trips, and many overlap.
void removeSources(const std::vector<LeftSource>& moves, std::vector<int>& errors, std::size_t atOnce)
{
    forEachAtOnce(moves.size(), atOnce, [&](std::size_t i) { errors[i] = removeSource(moves[i]); });
}

} // namespace

void MoveFinisher::start(std::vector<LeftSource> moves, std::size_t removers)
{
    if (m_worker.joinable())
        m_worker.join(); // never two batches on the same vectors
    m_moves = std::move(moves);
    m_errors.assign(m_moves.size(), 0);
    m_flushError = 0;
    if (m_moves.empty())
        return;
    m_worker = std::jthread([this, removers] {
        try {
            m_flushError = flushFileSystemOf(m_moves.front().copy);
        } catch (const std::exception&) {
            m_flushError = ENOMEM;
        }
        if (m_flushError == 0)
            removeSources(m_moves, m_errors, removers);
    });
}

std::vector<FileOperationOutcome> MoveFinisher::finish(OperationWindow& window, std::uint64_t ownerWindow)
{
    if (m_worker.joinable()) {
        window.runWithProgress(ownerWindow, operation_texts::progressTitle(Verb::Move), false,
                               [this](ProgressReport&) { m_worker.join(); });
    }
    const std::vector<LeftSource> moves = std::exchange(m_moves, {});
    std::vector<FileOperationOutcome> outcomes(moves.size());
    bool stop = false;
    const auto fail = [&](std::size_t i, int error, const std::string& line, const std::string& text) {
        outcomes[i].result = error > 0 ? errorNumberFromErrno(error) : kErrorGeneric;
        outcomes[i].failureReason = line;
        // One message for each failure until the user chooses to stop.
        if (!stop && !text.empty())
            stop = window.choose(ownerWindow, text, operation_texts::errorButtons(), 0) == 1;
        outcomes[i].stopRequested = stop;
    };
    if (m_flushError != 0) {
        // A copy that may never reach the disk is no copy: the sources stay, and the
        // copies go, as after any failed move. One message says it for all.
        const std::string line = operation_texts::failureLine(Verb::Move, m_flushError);
        for (std::size_t i = 0; i < moves.size(); ++i) {
            ::unlink(moves[i].copy.c_str());
            fail(i, m_flushError, line,
                 i == 0 ? operation_texts::errorText(Verb::Move, moves[i].source, m_flushError) : std::string());
        }
        return outcomes;
    }
    for (std::size_t i = 0; i < moves.size(); ++i) {
        if (m_errors[i] != 0)
            fail(i, m_errors[i], operation_texts::notRemovedLine(false, m_errors[i]),
                 operation_texts::notRemovedText(moves[i].source, false, m_errors[i]));
    }
    return outcomes;
}

} // namespace platform
