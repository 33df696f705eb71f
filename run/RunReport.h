#pragma once

#include "run/PathText.h"
#include "run/RunWindow.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace run {

/// What became of one planned file.
enum class FileOutcome : std::uint8_t {
    NotDone, // not reached: the run was stopped, or has not got to it yet
    Done,    // copied, moved, deleted or trashed
    Skipped, // passed over on purpose (a file listed twice is moved once)
    Failed,  // the operation refused it; `reason` says why
};

/// A text that most records leave empty, kept out of line: an empty one costs a pointer,
/// not a whole string, in each of a large plan's records.
class RareText {
public:
    RareText() = default;
    RareText(const RareText& other) { *this = other.text(); }
    RareText(RareText&&) noexcept = default;
    RareText& operator=(const RareText& other) { return *this = other.text(); }
    RareText& operator=(RareText&&) noexcept = default;
    RareText& operator=(std::string text)
    {
        m_text = text.empty() ? nullptr : std::make_unique<std::string>(std::move(text));
        return *this;
    }

    bool empty() const { return !m_text; }
    const std::string& text() const
    {
        static const std::string kEmpty;
        return m_text ? *m_text : kEmpty;
    }
    operator const std::string&() const { return text(); }

private:
    std::unique_ptr<std::string> m_text;
};

// A run of a million files holds a million records: the paths are a pointer each, and
// the size and the four small fields share one word.
struct FileRecord {
    PathText source;
    PathText dest;          // where it was placed, or planned to be; empty for delete and trash
    std::uint64_t bytes : 58 = 0;
    FileOutcome outcome : 2 = FileOutcome::NotDone;
    bool renamed : 1 = false; // it got a numbered name: its own name was taken
    bool fitted : 1 = false;  // its name was changed to one the destination's file system holds
    // Skipped: the destination holds its bytes already, in the file `reason` names.
    bool identical : 1 = false;
    // The search found its source before, under another item: a move or a delete does
    // it once (a copy copies it again).
    bool listedTwice : 1 = false;
    RareText reason;
};

/// The totals of a report, by outcome.
struct RunCounts {
    std::size_t done = 0;
    std::size_t renamed = 0;
    std::size_t fitted = 0;
    std::size_t skipped = 0;
    std::size_t identical = 0; // skipped as twins of a file in the destination
    std::size_t repeated = 0;  // of the skipped: listed twice, and done under the first
    std::size_t failed = 0;
    std::size_t notDone = 0;
    std::uint64_t bytesDone = 0;
};

/// One run as plain data: its plan, one record per planned file filled in as the run
/// goes, and where it is now. The run writes it; the run window, and anything else that
/// shows or keeps a run, only reads it.
struct RunReport {
    Operation operation = Operation::Copy;
    std::vector<FileRecord> files; // empty until the plan is made
    std::size_t filesFinished = 0; // records the run is past (a move's may await its batch)
    std::uint64_t bytesTotal = 0;
    std::uint64_t bytesFinished = 0;     // of the finished records
    std::uint64_t currentBytesDone = 0;  // of the file in progress
    bool stopped = false;                // by cancel, close, or 中止 in a message
    bool ended = false;
    bool undo = false;                   // the undo of an earlier run of `operation`
    std::string notice;                  // one thing the user must know, such as no journal
    std::string destFolder;
    // The destination as the plan found it: missing (a dry run plans it as an empty
    // folder, a run makes it), and for copy and move the space the plan needs there, by
    // whole blocks, against the space free; none where it cannot be told.
    bool destinationMissing = false;
    std::uint64_t destinationNeeded = 0;
    std::optional<std::uint64_t> destinationFree;
    std::chrono::steady_clock::time_point started{};
    std::chrono::steady_clock::time_point finished{};
    // Until the plan is made: the folders the search has read and the files it found
    // so far, and whether it is over.
    std::uint64_t foldersSearched = 0;
    std::uint64_t filesFound = 0;
    bool searched = false;
    // The file or folder a call into the file system has not come back from for a
    // while, or since the user asked to stop; empty while nothing holds the run up.
    std::string waitingFor;

    RunCounts counts() const;
    /// The file in progress; null when none is.
    const FileRecord* current() const;
    /// Done so far, in thousandths: by bytes, or by files when the files hold no bytes.
    int permille() const;
    /// Time since the start, up to the end once the run has ended.
    std::chrono::steady_clock::duration elapsed(std::chrono::steady_clock::time_point now) const;
    /// Whether the end deserves a report although its window never came up: a file
    /// failed or was skipped, or was left undone by a stop, or got a name fitted to the
    /// destination, or there is a notice.
    bool needsAttention() const;
};

/// Told by a run of its course. The run calls it on the thread it runs on; `report` is
/// the run's own and stays valid until runEnded returns. The run changes it only on
/// that thread and never while it lets events through (its yields, the operations'
/// windows and questions), so a monitor may read it again from the event loop.
class RunMonitor {
public:
    virtual ~RunMonitor() = default;
    /// The run has started; its plan is not made yet.
    virtual void runStarted(const RunReport& report) = 0;
    /// Called often (at every yield of the run and as a large file is copied): a chance
    /// to show the window and bring it up to date. Cheap callers, cheap callee.
    virtual void runProgressed(const RunReport& report) = 0;
    /// The run has ended, its idle state restored. `closing`: the main window closes now.
    virtual void runEnded(const RunReport& report, bool closing) = 0;
};

} // namespace run
