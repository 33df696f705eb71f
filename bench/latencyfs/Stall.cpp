#include "Stall.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

Stall::Stall(std::string path, double boundSeconds, std::string releaseFile, std::string startedFile)
    : m_path(std::move(path)), m_boundSeconds(boundSeconds), m_releaseFile(std::move(releaseFile)),
      m_startedFile(std::move(startedFile))
{
    if (!m_path.empty() && m_path.front() != '/')
        m_path.insert(m_path.begin(), '/');
}

void Stall::opened(const char* path, std::uint64_t handle)
{
    if (m_path.empty() || !path || m_over || m_path != path)
        return;
    const std::lock_guard lock(m_mutex);
    m_handles.insert(handle);
}

void Stall::closed(std::uint64_t handle)
{
    const std::lock_guard lock(m_mutex);
    m_handles.erase(handle);
}

void Stall::wait(std::uint64_t handle)
{
    if (m_over)
        return;
    {
        const std::lock_guard lock(m_mutex);
        if (!m_handles.count(handle))
            return;
    }
    if (!m_startedFile.empty())
        ::close(::open(m_startedFile.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    waitForRelease();
    m_over = true;
}

// The release file's folder is watched, so that the stall ends as the file appears
// rather than at the next look; looking again after each event (and before the first)
// makes a file made before the watch began count too. Without a release file, or
// where inotify fails, the stall lasts its bound.
void Stall::waitForRelease() const
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(m_boundSeconds));
    int watcher = -1;
    if (!m_releaseFile.empty()) {
        const std::size_t slash = m_releaseFile.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : m_releaseFile.substr(0, std::max<std::size_t>(slash, 1));
        watcher = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        if (watcher >= 0 && ::inotify_add_watch(watcher, folder.c_str(), IN_CREATE | IN_MOVED_TO | IN_ATTRIB) < 0) {
            ::close(watcher);
            watcher = -1;
        }
    }
    for (Clock::time_point now = Clock::now(); now < end; now = Clock::now()) {
        if (!m_releaseFile.empty() && ::access(m_releaseFile.c_str(), F_OK) == 0)
            break;
        pollfd events{watcher, POLLIN, 0};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now).count();
        ::poll(&events, watcher >= 0 ? 1 : 0, static_cast<int>(left));
        char drained[4096];
        while (watcher >= 0 && ::read(watcher, drained, sizeof drained) > 0) {
        }
    }
    if (watcher >= 0)
        ::close(watcher);
}
