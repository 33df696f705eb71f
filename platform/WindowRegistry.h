#pragma once

#include <cstdint>

namespace platform {

/// Tells which window ids name windows of the program that are still alive, so that an
/// owner window kept as a number can be checked before it is used.
class WindowRegistry {
public:
    virtual ~WindowRegistry() = default;

    /// True when `window` is the id of a live top-level window of the program.
    virtual bool isWindow(std::uint64_t window) = 0;
};

} // namespace platform
