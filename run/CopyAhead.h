#pragma once

#include "platform/FileCopier.h"
#include "run/RunReport.h"
#include "run/Undo.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace run {

/// Writes the files of a copy, or of a move to another file system, into unnamed files
/// of the destination folder (hidden temporary ones where the file system has none),
/// ahead of their turn, on a small pool of threads of its own: many files in flight hide
/// the round trips of a share. It also compares a twin with the file it matches ahead of
/// its turn. The run still places every file itself, in list order and through the usual
/// operation, so questions, progress, stopping and the journal stay where they were; a
/// copy made ahead only spares it the writing. A file not made ahead, for any reason, is
/// copied the usual way, which reports what goes wrong. Copies never placed vanish with
/// their descriptors, also when the process dies.
///
/// The run's thread tells the pool where the run is (advance) and never waits on it;
/// whoever places a file waits for it (await), off the user-interface thread. The
/// threads never read the run's records: they work on copies of the next few, so that a
/// thread held up in a call that hangs may outlive the run.
class CopyAhead {
public:
    struct Limits {
        std::size_t workers = 2; // none: nothing is written ahead
        /// Files larger than this are left to the usual copy, which shows their progress.
        std::uint64_t largestFile = 16 * 1024 * 1024;
        /// The bytes of the copies being written or waiting to be placed; one file larger
        /// than that may still be in flight alone.
        std::uint64_t bytesInFlight = 64 * 1024 * 1024;
        /// How many files may be in flight or wait, made, for their turn.
        std::size_t window = 64;
    };
    static Limits limitsFor(std::size_t filesInFlight);

    /// Starts on `files` into `destinationFolder`. With `acrossOnly` (a move) only files
    /// on another file system than the folder are copied. `comparedWith` names, for a
    /// planned-out twin, the file to compare it with ahead (empty: none). Does nothing
    /// with no workers, or when the folder cannot be opened.
    CopyAhead(const std::vector<FileRecord>& files, const std::string& destinationFolder, Limits limits,
              bool acrossOnly, std::function<std::string(std::size_t index)> comparedWith = {});
    /// Waits a moment for the threads to finish the file they are at; one held up in a
    /// call that hangs is left to end by itself.
    ~CopyAhead();
    CopyAhead(const CopyAhead&) = delete;
    CopyAhead& operator=(const CopyAhead&) = delete;

    /// The run's thread, as it comes to file `index` in turn: the files before it are done
    /// with, and the ones after it are handed to the threads. Never waits. From then on
    /// the run may change file `index`'s record.
    void advance(std::size_t index);
    /// The copy of file `index` once written, or null when it is to be copied the usual
    /// way. Waits, so not on the user-interface thread: a file begun is finished, also
    /// when the user stops the run meanwhile. Asked once, after advance(index).
    std::unique_ptr<platform::PreparedCopy> await(std::size_t index);
    /// A twin's comparison made ahead with the file it matches, and how both files
    /// looked before they were read: one that looks otherwise by its turn is compared again.
    struct Compared {
        bool same = false;
        std::optional<undo::Recorded> source, matched; // empty: compare again
    };
    /// The comparison of file `index`, a twin of a file that was in the destination;
    /// empty when nobody compared them. Waits as await does.
    std::optional<Compared> awaitCompared(std::size_t index);
    /// The same without waiting: empty also while the comparison is still being made.
    std::optional<Compared> comparedIfDone(std::size_t index);
    /// How a file looks as a journal records it (a write moves its change time, which no
    /// program sets); empty when it is gone. Links are not followed.
    static std::optional<undo::Recorded> lookOf(const std::string& path);
    /// The file a thread has been at the longest, while one is at one.
    std::string busiestFile() const;

private:
    struct State;
    struct Job;
    static void work(std::shared_ptr<State> state);
    static void giveSpaceBack(State& state, std::unique_lock<std::mutex>& lock);
    /// The folder, relative to the destination folder, a thread writes its copies in.
    static std::string folderForCopies(State& state);
    /// Compares a twin with the file it matches; without the looks of both when they
    /// cannot prove, by its turn, that neither was written since.
    static Compared compareAhead(const std::string& source, const std::string& matched);
    /// Waits, the lock held, until file `index` is ready or no longer awaited; whether it
    /// is ready.
    bool waitFor(std::size_t index, std::unique_lock<std::mutex>& lock);
    Job jobOf(std::size_t index) const;

    const std::vector<FileRecord>& m_files;
    std::function<std::string(std::size_t)> m_comparedWith;
    std::shared_ptr<State> m_state;
    std::size_t m_fed = 0; // records up to here have been handed to the threads
};

} // namespace run
