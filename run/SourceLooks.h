#pragma once

#include "run/PathText.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sys/types.h>
#include <thread>
#include <vector>

namespace run {

/// What a plan needs of one source: whether it is a regular file (a link followed),
/// its size and the file system it is on.
struct SourceLook {
    bool regular = false;
    std::uint64_t bytes = 0;
    dev_t device = 0;
};

/// Looks at the sources of a plan on threads of its own, many at once, ahead of the
/// thread that records them in list order. On a share every look is a round trip;
/// one after another they would take longer than copying the files in flight. Paths
/// beyond the longest path are not looked at: the caller reaches them its own way.
class SourceLooks {
public:
    /// Starts `threads` threads on `paths`. A path must stay as it is until its look
    /// has been awaited; the caller may take it over from then on.
    SourceLooks(const std::vector<PathText>& paths, std::size_t threads);
    /// Lets the threads finish the look they are at, and ends them.
    ~SourceLooks();
    SourceLooks(const SourceLooks&) = delete;
    SourceLooks& operator=(const SourceLooks&) = delete;

    /// The look at path `index`, waited for.
    SourceLook await(std::size_t index);

private:
    struct Slot {
        std::atomic<bool> done{false};
        SourceLook look;
    };
    void work();

    const std::vector<PathText>& m_paths;
    std::unique_ptr<Slot[]> m_slots;
    std::atomic<std::size_t> m_next{0};
    std::atomic<bool> m_stopping{false};
    std::vector<std::thread> m_threads;
};

} // namespace run
