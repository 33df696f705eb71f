#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

/// Holds a thread up at a chosen point until the test lets it go, as a share that does
/// not answer holds up a call into it. Any thread may ask how things stand.
class Gate {
public:
    /// On the held thread: waits until released (at once when it already is). Reached
    /// on the thread that made the gate, the one meant to stay live, it does not wait,
    /// which would hang the test, and heldOwnThread() tells.
    void hold()
    {
        std::unique_lock lock(m_mutex);
        if (std::this_thread::get_id() == m_owner) {
            m_heldOwnThread = true;
            return;
        }
        ++m_entered;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_released; });
    }
    void release()
    {
        const std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }
    /// Whether a thread is held there right now.
    bool holding() const
    {
        const std::lock_guard lock(m_mutex);
        return m_entered > 0 && !m_released;
    }
    int entered() const
    {
        const std::lock_guard lock(m_mutex);
        return m_entered;
    }
    bool heldOwnThread() const
    {
        const std::lock_guard lock(m_mutex);
        return m_heldOwnThread;
    }

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    const std::thread::id m_owner = std::this_thread::get_id();
    int m_entered = 0;
    bool m_released = false;
    bool m_heldOwnThread = false;
};
