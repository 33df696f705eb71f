#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/// The file-system call that work on another thread is making now, so that the thread
/// of the window can tell the user which file it waits for. A call into a share or a
/// phone may take seconds, or hang until the device answers. Any thread may ask.
class PendingCall {
public:
    using Clock = std::chrono::steady_clock;

    /// What is in flight: the path the call is about, and when it last moved (began, or
    /// reported progress).
    struct State {
        std::string path;
        Clock::time_point since;
    };

    /// A call about `path` begins, in place of the one before.
    void begin(std::string_view path);
    /// The call in flight moved on (bytes of the same file arrived).
    void progressed();
    /// No call is in flight any more.
    void end();

    /// The call in flight; none between calls.
    std::optional<State> current() const;

private:
    mutable std::mutex m_mutex;
    bool m_active = false;
    std::string m_path; // reused from call to call: most paths fit what it holds
    Clock::time_point m_since;
};

} // namespace platform
