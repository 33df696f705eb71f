#include "support/ThreadedOperations.h"

#include "support/FakeOperations.h"

#include <atomic>
#include <thread>

namespace {

// What the work reports, read by the waiting thread at each turn.
class SharedProgress final : public platform::ProgressReport {
public:
    void beginItem(std::size_t item, std::size_t, const std::string&, std::uint64_t) override
    {
        bytes = 0;
        index = item;
    }
    void addBytes(std::uint64_t more) override { bytes += more; }
    bool cancelRequested() const override { return false; }

    std::atomic<std::size_t> index{0};
    std::atomic<std::uint64_t> bytes{0};
};

} // namespace

void ThreadedOperations::runWithProgress(std::uint64_t, const std::string&, bool,
                                         const std::function<void(platform::ProgressReport&)>& work)
{
    SharedProgress progress;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        work(progress);
        finished = true;
    });
    while (!finished) {
        ++turns;
        if (m_runProgress)
            m_runProgress(progress.index, progress.bytes);
        if (onWait)
            onWait(turns);
        std::this_thread::yield();
    }
    worker.join();
}

std::size_t ThreadedOperations::choose(std::uint64_t owner, const std::string& text,
                                       const std::vector<std::string>& buttons, std::size_t escapeIndex)
{
    const std::lock_guard lock(m_asking);
    return m_answers.choose(owner, text, buttons, escapeIndex);
}
