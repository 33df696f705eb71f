#pragma once

#include "platform/MoveFinisher.h"
#include "run/CollectionRun.h"
#include "run/Undo.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace run {

/// The files of a move to another file system whose copies are in place and whose
/// sources are still there. They are completed together, so that one flush of the
/// destination makes a whole batch last instead of a flush of each file and folder, and
/// in the background, while the next batch is copied. A record says Done, and the
/// journal has it, only once its source is gone. Settled at the end of the loop and
/// however else the loop is left.
class CollectionRun::MoveBatch {
public:
    /// `removers`: sources removed at once.
    MoveBatch(CollectionRun& run, std::size_t removers) : m_run(run), m_removers(removers) {}
    ~MoveBatch();
    MoveBatch(const MoveBatch&) = delete;
    MoveBatch& operator=(const MoveBatch&) = delete;

    /// The move of the record at `index` waits for its batch. `placed`: how its copy
    /// looked as it was placed, which the journal keeps once the source is gone, so that
    /// completing the batch makes no look of its own.
    void add(std::size_t index, platform::LeftSource move, std::optional<undo::Recorded> placed);
    /// Hands the batch over to be completed once it holds many files, many bytes or has
    /// waited long: a crash loses no file, but the journal knows of none of them until
    /// their batch is completed.
    void settleWhenDue();
    /// Completes every move handed over or waiting, and gives the records their outcome.
    void settle();

private:
    void handOver();
    void collect();

    CollectionRun& m_run;
    std::size_t m_removers;
    platform::MoveFinisher m_finisher;
    struct Waiting {
        std::size_t record;
        std::optional<undo::Recorded> placed;
    };
    std::vector<Waiting> m_finishing; // the records of the batch being completed
    std::vector<Waiting> m_records;
    std::vector<platform::LeftSource> m_moves;
    std::uint64_t m_bytes = 0;
    std::chrono::steady_clock::time_point m_started;
};

} // namespace run
