#pragma once

namespace platform {

/// Lets the user interface breathe during long work on its own thread.
class EventPump {
public:
    virtual ~EventPump() = default;

    /// Processes the pending events once (repaints, clicks) and returns.
    /// Handlers run nested inside this call.
    virtual void yield() = 0;
};

} // namespace platform
