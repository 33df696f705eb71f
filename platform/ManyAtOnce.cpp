#include "platform/ManyAtOnce.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <vector>

namespace platform {

void forEachAtOnce(std::size_t count, std::size_t threads, const std::function<void(std::size_t)>& work)
{
    std::atomic<std::size_t> next{0};
    const auto takeInTurn = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < count;)
            work(i);
    };
    std::vector<std::jthread> helpers; // joined on the way out, however it is left
    try {
        for (std::size_t i = 1; i < std::min(threads, count); ++i)
            helpers.emplace_back(takeInTurn);
    } catch (const std::exception&) {
        // No more threads to be had: the ones there are do the work.
    }
    takeInTurn();
}

} // namespace platform
