#pragma once

#include "platform/FileOperationEngine.h"

#include <cstddef>
#include <cstdint>
#include <thread>
#include <vector>

namespace platform {

class OperationWindow;

/// Completes, one batch at a time, moves left by RunGuards::leaveSourceAcross whose
/// copies of a batch all lie on one file system: one flush of that file system makes
/// every copy last, and only then are the sources removed. This happens on a thread of
/// its own, so that the caller copies the next batch meanwhile. A source that cannot be
/// removed, or was changed since it was copied, stays; when the flush fails, no source
/// is removed and the copies are taken away again.
class MoveFinisher {
public:
    MoveFinisher() = default;
    MoveFinisher(const MoveFinisher&) = delete;
    MoveFinisher& operator=(const MoveFinisher&) = delete;
    /// Waits for a batch still under way.
    ~MoveFinisher() = default;

    /// Starts on `moves`, removing up to `removers` sources at once. The batch before
    /// must have been finished.
    void start(std::vector<LeftSource> moves, std::size_t removers);
    /// Waits for the batch under way (the windows stay live meanwhile), reports its
    /// failures through `window` as a move reports them, and returns one outcome per
    /// move of it, in order; none when no batch is under way.
    std::vector<FileOperationOutcome> finish(OperationWindow& window, std::uint64_t ownerWindow);

private:
    std::vector<LeftSource> m_moves;
    std::vector<int> m_errors; // why each source stays; 0 when it is gone
    int m_flushError = 0;
    std::jthread m_worker;    // declared last: joined before the rest goes
};

} // namespace platform
