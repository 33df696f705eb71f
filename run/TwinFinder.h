#pragma once

#include "run/RunReport.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {
class PendingCall;
}

namespace run {

/// A planned file whose bytes, by size and hash, are those of a file already in the
/// destination or of one placed before it in the same run.
struct Twin {
    std::size_t record = 0;
    /// The file already in the destination, or empty: then `earlier` is the record of
    /// this run whose copy it matches.
    std::string existing;
    std::size_t earlier = 0;
};

/// Finds the twins among the records of a copy or move into `destFolder` (ending in
/// "/"), in list order. Only files of a size that another file has are read, each at
/// most once, so that a run with no twins reads nearly nothing. The hash alone decides
/// nothing: whoever skips a twin compares its bytes first. Reads files, `threads` at a
/// time: to be called off the user-interface thread; `reading`, when given, is told of
/// each file it reads.
std::vector<Twin> findTwins(const std::vector<FileRecord>& files, const std::string& destFolder,
                            std::size_t threads = 1, platform::PendingCall* reading = nullptr);

} // namespace run
