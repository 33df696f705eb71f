#include "run/SourceLooks.h"

#include "platform/LongPath.h"

#include <sys/stat.h>

namespace run {

SourceLooks::SourceLooks(const std::vector<PathText>& paths, std::size_t threads)
    : m_paths(paths), m_slots(std::make_unique<Slot[]>(paths.size()))
{
    m_threads.reserve(threads);
    for (std::size_t i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { work(); });
}

SourceLooks::~SourceLooks()
{
    m_stopping = true;
    for (std::thread& thread : m_threads)
        thread.join();
}

void SourceLooks::work()
{
    // The threads take the paths in list order, so the look awaited next is always
    // among the first begun.
    for (std::size_t index; !m_stopping.load(std::memory_order_relaxed)
         && (index = m_next.fetch_add(1, std::memory_order_relaxed)) < m_paths.size();) {
        Slot& slot = m_slots[index];
        const PathText& path = m_paths[index];
        struct stat status {};
        if (!platform::isTooLongForOneCall(path.str()) && ::stat(path.c_str(), &status) == 0) {
            const bool regular = S_ISREG(status.st_mode);
            slot.look = {regular, regular ? static_cast<std::uint64_t>(status.st_size) : 0, status.st_dev};
        }
        slot.done.store(true, std::memory_order_release);
        slot.done.notify_one();
    }
}

SourceLook SourceLooks::await(std::size_t index)
{
    Slot& slot = m_slots[index];
    slot.done.wait(false, std::memory_order_acquire);
    return slot.look;
}

} // namespace run
