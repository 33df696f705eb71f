#include "platform/PendingCall.h"

namespace platform {

void PendingCall::begin(std::string_view path)
{
    const Clock::time_point now = Clock::now();
    const std::lock_guard lock(m_mutex);
    m_path.assign(path);
    m_since = now;
    m_active = true;
}

void PendingCall::progressed()
{
    const Clock::time_point now = Clock::now();
    const std::lock_guard lock(m_mutex);
    m_since = now;
}

void PendingCall::end()
{
    const std::lock_guard lock(m_mutex);
    m_active = false;
}

std::optional<PendingCall::State> PendingCall::current() const
{
    const std::lock_guard lock(m_mutex);
    if (!m_active)
        return std::nullopt;
    return State{m_path, m_since};
}

} // namespace platform
