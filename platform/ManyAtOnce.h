#pragma once

#include <cstddef>
#include <functional>

namespace platform {

/// Calls `work(i)` for every i below `count` on up to `threads` threads, this one among
/// them, each taking the next i in turn; returns once all are done. Where no more
/// threads can be had, the ones there are do the work.
void forEachAtOnce(std::size_t count, std::size_t threads, const std::function<void(std::size_t)>& work);

} // namespace platform
