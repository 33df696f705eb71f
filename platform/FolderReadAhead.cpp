#include "platform/FolderReadAhead.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace platform {

namespace {

// Listings read and not yet taken, at most: enough to keep every thread busy while the
// walk catches up, without holding a large part of a wide tree twice.
constexpr std::size_t kReadyAtMost = 256;

} // namespace

struct FolderReadAhead::State {
    struct Read {
        bool done = false;
        bool succeeded = false;
        FolderListing listing;
    };

    bool mayClaim() const { return !waiting.empty() && ready < kReadyAtMost; }
    bool stopped() const { return ending || (stop && stop->load(std::memory_order_relaxed)); }

    const std::atomic<bool>* stop = nullptr;
    std::mutex mutex;
    std::condition_variable changed;
    bool ending = false;
    std::deque<std::string> waiting; // in the order the walk will take them
    std::unordered_map<std::string, std::shared_ptr<Read>> begun;
    std::size_t ready = 0; // reads done, not yet taken
};

FolderReadAhead::FolderReadAhead(std::size_t threads, const std::atomic<bool>* stop)
    : m_state(std::make_shared<State>())
{
    m_state->stop = stop;
    for (std::size_t i = 0; i < threads; ++i)
        std::thread(work, m_state).detach();
}

FolderReadAhead::~FolderReadAhead()
{
    const std::lock_guard lock(m_state->mutex);
    m_state->ending = true;
    m_state->waiting.clear();
    m_state->changed.notify_all();
}

void FolderReadAhead::expect(std::vector<std::string> folders)
{
    const std::lock_guard lock(m_state->mutex);
    m_state->waiting.insert(m_state->waiting.begin(), std::make_move_iterator(folders.begin()),
                            std::make_move_iterator(folders.end()));
    m_state->changed.notify_all();
}

void FolderReadAhead::work(std::shared_ptr<State> shared)
{
    State& state = *shared;
    std::unique_lock lock(state.mutex);
    for (;;) {
        state.changed.wait(lock, [&] { return state.stopped() || state.mayClaim(); });
        if (state.stopped())
            return;
        std::string folder = std::move(state.waiting.front());
        state.waiting.pop_front();
        const std::shared_ptr<State::Read> read = std::make_shared<State::Read>();
        state.begun.emplace(folder, read);
        lock.unlock();
        const bool succeeded = read->listing.read(folder);
        lock.lock();
        read->succeeded = succeeded;
        read->done = true;
        ++state.ready;
        state.changed.notify_all();
    }
}

bool FolderReadAhead::take(const std::string& folder, FolderListing& listing)
{
    State& state = *m_state;
    std::unique_lock lock(state.mutex);
    const auto found = state.begun.find(folder);
    if (found == state.begun.end()) {
        // Not begun: read here rather than wait for a thread to come to it. It is
        // nearly always the first one waiting.
        for (auto at = state.waiting.begin(); at != state.waiting.end(); ++at) {
            if (*at == folder) {
                state.waiting.erase(at);
                break;
            }
        }
        lock.unlock();
        return listing.read(folder);
    }
    const std::shared_ptr<State::Read> read = found->second;
    state.changed.wait(lock, [&] { return read->done; });
    state.begun.erase(folder);
    --state.ready;
    state.changed.notify_all();
    lock.unlock();
    std::swap(listing, read->listing);
    return read->succeeded;
}

} // namespace platform
