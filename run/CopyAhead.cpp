#include "run/CopyAhead.h"

#include "platform/ContentCompare.h"
#include "platform/ManyAtOnce.h"
#include "platform/OperationWindow.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <time.h>
#include <unistd.h>
#include <utility>

namespace run {

namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
// Folders removed at once as the pool ends: on a share each removal waits on round trips.
constexpr std::size_t kRemovers = 12;

// A copy made ahead reports no progress: the run counts it once it is placed. It stops
// between two blocks once the pool is told to stop.
class QuietProgress final : public platform::ProgressReport {
public:
    explicit QuietProgress(const std::atomic<bool>& stopping) : m_stopping(stopping) {}
    void beginItem(std::size_t, std::size_t, const std::string&, std::uint64_t) override {}
    void addBytes(std::uint64_t) override {}
    bool cancelRequested() const override { return m_stopping.load(std::memory_order_relaxed); }

private:
    const std::atomic<bool>& m_stopping;
};

std::int64_t nowNanoseconds()
{
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Removes the threads' emptied folders from `folderFd`, several at once.
void removeFolders(int folderFd, const std::vector<std::string>& folders)
{
    platform::forEachAtOnce(folders.size(), kRemovers,
                            [&](std::size_t i) { ::unlinkat(folderFd, folders[i].c_str(), AT_REMOVEDIR); });
}

} // namespace

std::optional<undo::Recorded> CopyAhead::lookOf(const std::string& path)
{
    undo::Recorded recorded;
    return undo::recordOf(path, recorded) ? std::optional(recorded) : std::nullopt;
}

CopyAhead::Compared CopyAhead::compareAhead(const std::string& source, const std::string& matched)
{
    // Change times step with the kernel's clock tick: a write in the same tick as the
    // last one leaves no trace, so a file changed that recently is compared again at its
    // turn whatever it looks like then.
    constexpr std::int64_t kTick = 20'000'000;
    const std::int64_t recent = nowNanoseconds() - kTick;
    Compared compared{false, lookOf(source), lookOf(matched)};
    compared.same = compared.source && compared.matched && platform::sameContent(source, matched);
    if (!compared.source || !compared.matched || compared.source->changeNanoseconds >= recent
        || compared.matched->changeNanoseconds >= recent)
        compared.source.reset();
    return compared;
}

struct CopyAhead::Job {
    std::size_t index = 0;
    std::string source;
    std::uint64_t bytes = 0;
    bool copy = false;   // write its copy
    std::string matched; // or compare it with this file
};

struct CopyAhead::State {
    // What one file of the window holds, by index modulo the window.
    struct Slot {
        std::size_t index = kNone;
        bool ready = false;
        std::uint64_t cost = 0;
        std::unique_ptr<platform::PreparedCopy> copy = nullptr;
        std::optional<Compared> compared = std::nullopt;
    };

    explicit State(Limits limits) : limits(limits), slots(limits.window) {}
    ~State()
    {
        slots.clear(); // the copies first: a hidden one is removed through the folder
        removeFolders(folderFd, privateFolders);
        if (folderFd >= 0)
            ::close(folderFd);
    }

    bool mayClaim() const
    {
        if (queue.empty() || queue.front().index >= taken + limits.window)
            return false;
        const std::uint64_t cost = queue.front().copy ? queue.front().bytes : 0;
        return bytes == 0 || bytes + cost <= limits.bytesInFlight;
    }

    const Limits limits;
    int folderFd = -1;
    dev_t folderDevice = 0;
    bool acrossOnly = false;
    std::atomic<bool> stopping{false};

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Job> queue;       // handed over, not begun
    std::vector<Slot> slots;
    std::size_t taken = 0;       // files before this one are the run's again
    std::uint64_t bytes = 0;     // of the copies begun and not yet taken
    std::size_t running = 0;     // threads not yet ended
    std::vector<std::pair<std::size_t, std::string>> busy; // files being worked on
    std::vector<std::string> privateFolders; // of the threads, in the destination folder
};

CopyAhead::Limits CopyAhead::limitsFor(std::size_t filesInFlight)
{
    Limits limits;
    limits.workers = std::max<std::size_t>(1, filesInFlight);
    limits.window = std::max<std::size_t>(64, 4 * limits.workers);
    return limits;
}

CopyAhead::CopyAhead(const std::vector<FileRecord>& files, const std::string& destinationFolder,
                     Limits limits, bool acrossOnly, std::function<std::string(std::size_t)> comparedWith)
    : m_files(files), m_comparedWith(std::move(comparedWith)), m_state(std::make_shared<State>(limits))
{
    State& state = *m_state;
    state.acrossOnly = acrossOnly;
    state.folderFd = limits.workers == 0 ? -1 : ::open(destinationFolder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    struct stat folder {};
    if (state.folderFd < 0 || ::fstat(state.folderFd, &folder) != 0) {
        state.stopping = true;
        return;
    }
    state.folderDevice = folder.st_dev;
    advance(0);
    state.running = limits.workers;
    for (std::size_t i = 0; i < limits.workers; ++i)
        std::thread(work, m_state).detach();
}

CopyAhead::~CopyAhead()
{
    std::vector<State::Slot> dropped;
    std::vector<std::string> folders;
    {
        std::unique_lock lock(m_state->mutex);
        m_state->stopping = true;
        m_state->queue.clear();
        m_state->changed.notify_all();
        // A thread ends once the file it is at is written; one held up in a call into a
        // share that hangs holds its own share of the state and ends whenever that
        // call returns, removing what it wrote.
        m_state->changed.wait_for(lock, std::chrono::seconds(1), [this] { return m_state->running == 0; });
        for (State::Slot& slot : m_state->slots)
            dropped.push_back(std::move(slot));
        // The threads' folders go now, once empty, not whenever the last thread lets go.
        if (m_state->running == 0)
            folders = std::exchange(m_state->privateFolders, {});
    }
    dropped.clear();
    removeFolders(m_state->folderFd, folders);
}

CopyAhead::Job CopyAhead::jobOf(std::size_t index) const
{
    const FileRecord& file = m_files[index];
    Job job{index, file.source.str(), file.bytes, false, {}};
    if (file.outcome != FileOutcome::Skipped)
        job.copy = file.bytes <= m_state->limits.largestFile;
    else if (file.identical && m_comparedWith)
        job.matched = m_comparedWith(index);
    return job;
}

void CopyAhead::advance(std::size_t index)
{
    State& state = *m_state;
    if (state.stopping)
        return;
    std::vector<std::unique_ptr<platform::PreparedCopy>> dropped;
    const std::lock_guard lock(state.mutex);
    // Files passed by without being asked for (planned out, or settled otherwise) give
    // their room back.
    for (std::size_t i = state.taken; i < index; ++i) {
        State::Slot& slot = state.slots[i % state.limits.window];
        if (slot.index == i && slot.ready) {
            dropped.push_back(std::move(slot.copy));
            state.bytes -= slot.cost;
            slot = {};
        }
    }
    state.taken = std::max(state.taken, index);
    const std::size_t end = std::min(m_files.size(), index + state.limits.window);
    for (; m_fed < end; ++m_fed) {
        Job job = jobOf(m_fed);
        if (!job.copy && job.matched.empty())
            continue; // nothing to do ahead for it
        state.slots[m_fed % state.limits.window] = State::Slot{m_fed};
        state.queue.push_back(std::move(job));
    }
    state.changed.notify_all();
}

void CopyAhead::giveSpaceBack(State& state, std::unique_lock<std::mutex>& lock)
{
    // A full disk: the copies waiting for their turn would take the room of the files
    // placed before them. They are dropped, and every file from here on is copied the
    // usual way, which tells the user of the full disk at the file it really concerns.
    state.stopping = true;
    state.queue.clear();
    std::vector<std::unique_ptr<platform::PreparedCopy>> dropped;
    for (State::Slot& slot : state.slots) {
        if (slot.ready) {
            dropped.push_back(std::move(slot.copy));
            state.bytes -= slot.cost;
        }
        slot = {};
    }
    state.changed.notify_all();
    lock.unlock();
    dropped.clear();
    lock.lock();
}

std::string CopyAhead::folderForCopies(State& state)
{
    // Unnamed files, where the file system has them, need no folder of their own.
    if (const int probe = ::openat(state.folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600); probe >= 0) {
        ::close(probe);
        return ".";
    }
    // Else hidden files, each thread's in a hidden folder of its own: a share makes one
    // new name at a time in a folder, so copies made side by side in the destination
    // folder itself would wait for one another.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string folder = platform::FileCopier::temporaryName(".");
        if (::mkdirat(state.folderFd, folder.c_str(), 0700) == 0) {
            const std::lock_guard lock(state.mutex);
            state.privateFolders.push_back(folder);
            return folder;
        }
        if (errno != EEXIST)
            break;
    }
    return ".";
}

void CopyAhead::work(std::shared_ptr<State> shared)
{
    State& state = *shared;
    QuietProgress quiet(state.stopping);
    platform::FileCopier copier(quiet);
    std::optional<std::string> within; // where this thread writes its copies
    std::unique_lock lock(state.mutex);
    for (;;) {
        state.changed.wait(lock, [&] { return state.stopping || state.mayClaim(); });
        if (state.stopping)
            break;
        Job job = std::move(state.queue.front());
        state.queue.pop_front();
        const std::uint64_t cost = job.copy ? job.bytes : 0;
        state.bytes += cost;
        state.busy.emplace_back(job.index, job.source);
        lock.unlock();

        std::unique_ptr<platform::PreparedCopy> copy;
        std::optional<Compared> compared;
        int error = 0;
        if (!job.matched.empty()) {
            compared = compareAhead(job.source, job.matched);
        } else {
            struct stat source {};
            // A move within one file system is a rename: nothing to copy.
            const bool across = !state.acrossOnly
                || (::stat(job.source.c_str(), &source) == 0 && source.st_dev != state.folderDevice);
            if (across) {
                if (!within)
                    within = folderForCopies(state);
                copy = std::make_unique<platform::PreparedCopy>();
                error = copier.prepareCopy(job.source, state.folderFd, *copy, true, *within);
                if (error != 0)
                    copy.reset();
            }
        }

        lock.lock();
        if (error == ENOSPC || error == EDQUOT)
            giveSpaceBack(state, lock);
        std::erase_if(state.busy, [&](const auto& entry) { return entry.first == job.index; });
        State::Slot& slot = state.slots[job.index % state.limits.window];
        if (state.stopping || job.index < state.taken || slot.index != job.index) {
            // Nobody will ask for it any more.
            state.bytes -= cost;
            lock.unlock();
            copy.reset();
            lock.lock();
        } else {
            slot.ready = true;
            slot.cost = cost;
            slot.copy = std::move(copy);
            slot.compared = std::move(compared);
        }
        state.changed.notify_all();
    }
    --state.running;
    state.changed.notify_all();
}

bool CopyAhead::waitFor(std::size_t index, std::unique_lock<std::mutex>& lock)
{
    State& state = *m_state;
    const State::Slot& slot = state.slots[index % state.limits.window];
    state.changed.wait(lock, [&] { return slot.index != index || slot.ready || state.stopping; });
    return slot.index == index && slot.ready;
}

std::unique_ptr<platform::PreparedCopy> CopyAhead::await(std::size_t index)
{
    State& state = *m_state;
    std::unique_lock lock(state.mutex);
    if (!waitFor(index, lock))
        return nullptr;
    State::Slot& slot = state.slots[index % state.limits.window];
    state.bytes -= slot.cost;
    std::unique_ptr<platform::PreparedCopy> copy = std::move(slot.copy);
    slot = {};
    state.changed.notify_all();
    return copy;
}

std::optional<CopyAhead::Compared> CopyAhead::awaitCompared(std::size_t index)
{
    State& state = *m_state;
    std::unique_lock lock(state.mutex);
    if (!waitFor(index, lock))
        return std::nullopt;
    State::Slot& slot = state.slots[index % state.limits.window];
    std::optional<Compared> compared = std::move(slot.compared);
    slot = {};
    state.changed.notify_all();
    return compared;
}

std::optional<CopyAhead::Compared> CopyAhead::comparedIfDone(std::size_t index)
{
    const std::lock_guard lock(m_state->mutex);
    State::Slot& slot = m_state->slots[index % m_state->limits.window];
    if (slot.index != index || !slot.ready)
        return std::nullopt;
    std::optional<Compared> compared = std::move(slot.compared);
    slot = {};
    m_state->changed.notify_all();
    return compared;
}

std::string CopyAhead::busiestFile() const
{
    const std::lock_guard lock(m_state->mutex);
    const auto oldest = std::min_element(m_state->busy.begin(), m_state->busy.end());
    return oldest == m_state->busy.end() ? std::string() : oldest->second;
}

} // namespace run
