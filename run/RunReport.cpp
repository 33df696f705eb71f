#include "run/RunReport.h"

#include <algorithm>

namespace run {

RunCounts RunReport::counts() const
{
    RunCounts counts;
    for (const FileRecord& file : files) {
        switch (file.outcome) {
        case FileOutcome::Done:
            ++counts.done;
            counts.bytesDone += file.bytes;
            if (file.renamed)
                ++counts.renamed;
            if (file.fitted)
                ++counts.fitted;
            break;
        case FileOutcome::Skipped:
            ++(file.identical ? counts.identical : counts.skipped);
            counts.repeated += file.listedTwice ? 1 : 0;
            break;
        case FileOutcome::Failed:
            ++counts.failed;
            break;
        case FileOutcome::NotDone:
            ++counts.notDone;
            break;
        }
    }
    return counts;
}

const FileRecord* RunReport::current() const
{
    return !ended && filesFinished < files.size() ? &files[filesFinished] : nullptr;
}

int RunReport::permille() const
{
    if (ended)
        return 1000;
    if (bytesTotal > 0) {
        const std::uint64_t done = std::min(bytesTotal, bytesFinished + currentBytesDone);
        return static_cast<int>(done * 1000 / bytesTotal);
    }
    return files.empty() ? 0 : static_cast<int>(filesFinished * 1000 / files.size());
}

std::chrono::steady_clock::duration RunReport::elapsed(std::chrono::steady_clock::time_point now) const
{
    return (ended ? finished : now) - started;
}

bool RunReport::needsAttention() const
{
    // Files left undone by a stop count; a delete the user declined at its question
    // leaves them undone too, but that is an answer, not a surprise.
    return !notice.empty() || std::any_of(files.begin(), files.end(), [this](const FileRecord& file) {
        return file.outcome == FileOutcome::Failed || file.outcome == FileOutcome::Skipped
            || (stopped && file.outcome == FileOutcome::NotDone)
            || (file.outcome == FileOutcome::Done && file.fitted); // it bears a name the user never gave it
    });
}

} // namespace run
