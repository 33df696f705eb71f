#include "run/CopyAhead.h"

#include "platform/OperationWindow.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace run {

namespace {

// A copy made ahead reports no progress: the run counts it once it is placed.
class NoProgress final : public platform::ProgressReport {
public:
    void beginItem(std::size_t, std::size_t, const std::string&, std::uint64_t) override {}
    void addBytes(std::uint64_t) override {}
    bool cancelRequested() const override { return false; }
};

} // namespace

CopyAhead::CopyAhead(const std::vector<FileRecord>& files, const std::string& destinationFolder)
    : m_files(files), m_ready(kWindow, false), m_made(kWindow)
{
    m_folderFd = ::open(destinationFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0) {
        m_stopping = true;
        return;
    }
    m_worker = std::thread([this] { work(); });
}

CopyAhead::~CopyAhead()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
    if (m_folderFd >= 0)
        ::close(m_folderFd);
}

void CopyAhead::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return mayClaim() || m_stopping || m_claimed >= m_files.size(); });
        if (!mayClaim())
            return;
        make(m_claimed++, lock);
    }
}

void CopyAhead::make(std::size_t index, std::unique_lock<std::mutex>& lock)
{
    const std::size_t at = index % kWindow;
    const FileRecord& file = m_files[index];
    const bool wanted = file.outcome != FileOutcome::Skipped && file.bytes <= kLargestFile;
    lock.unlock();

    std::unique_ptr<platform::PreparedCopy> copy;
    bool unsupported = false;
    if (wanted) {
        NoProgress quiet;
        platform::FileCopier copier(quiet);
        copy = std::make_unique<platform::PreparedCopy>();
        if (const int error = copier.prepareCopy(file.source.str(), m_folderFd, *copy)) {
            copy.reset();
            unsupported = error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
        }
    }

    lock.lock();
    m_made[at] = std::move(copy);
    m_ready[at] = true;
    // A file system without unnamed files: every file takes the usual way.
    m_stopping = m_stopping || unsupported;
    m_changed.notify_all();
}

std::unique_ptr<platform::PreparedCopy> CopyAhead::take(std::size_t index)
{
    std::unique_lock lock(m_mutex);
    m_taken = index;
    for (;;) {
        if (m_claimed == index) {
            // Nothing is made ahead here: the run copies the usual way.
            if (m_stopping) {
                m_claimed = m_taken = index + 1;
                return nullptr;
            }
            // Nobody has begun it: written here, as the thread would have.
            make(m_claimed++, lock);
        }
        const std::size_t at = index % kWindow;
        if (m_ready[at]) {
            m_ready[at] = false;
            m_taken = index + 1;
            m_changed.notify_all();
            return std::move(m_made[at]);
        }
        // Its copy is still being written: write one further on meanwhile.
        if (mayClaim())
            make(m_claimed++, lock);
        else
            m_changed.wait(lock);
    }
}

} // namespace run
