#pragma once

#include "run/RunWindow.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace run {

/// One line of a journal: a file the run has done, or (for delete and trash, written
/// before the one operation that does them all) one it is about to do, or one it left
/// because the destination already held its bytes (`dest`: the file it matched), or
/// (a move to another file system) one whose copy is in place while its source is still
/// there, until its batch of moves is completed and a Done line follows.
struct JournalEntry {
    enum class Kind { Planned, Done, Identical, Copied };
    Kind kind = Kind::Done;
    std::string source;
    std::string dest;              // the copy or the moved file; empty for delete and trash
    std::uint64_t bytes = 0;       // of what was written, as found right after
    std::int64_t mtimeNanoseconds = 0;
    std::int64_t changeNanoseconds = 0; // of what was written; 0 when not known
    std::uint64_t inode = 0;
    // The source as it was while it was copied: change time and inode; 0 when not known.
    std::int64_t sourceChangeNanoseconds = 0;
    std::uint64_t sourceInode = 0;
};

/// A journal as read back: its run and what its lines say. A last line cut off by a
/// crash is left out; everything before it counts.
struct Journal {
    std::string path;
    Operation operation = Operation::Copy;
    bool isUndo = false;         // the journal of an undo, which is not undone in turn
    std::int64_t startedSeconds = 0; // since the epoch
    std::vector<JournalEntry> entries;

    /// The entries an undo works on: the files done. A trash run writes what it is about
    /// to trash first and what was trashed after: a journal cut off in between (the run
    /// was killed) has only the first, and then all of those are looked for. A move cut
    /// off while a batch was being completed left copies whose sources are still there:
    /// their Copied entries, with no Done entry after them, are undone as copies.
    std::vector<const JournalEntry*> toUndo() const;
};

/// Where journals are kept: $XDG_STATE_HOME/quorvane/runs, by default
/// ~/.local/state/quorvane/runs. Empty when neither variable gives a place.
std::string journalFolder();

/// Writes the journal of one run, a line as each file finishes, each line handed to
/// the system at once, so that a crash or a kill leaves a journal that tells what was
/// done. A journal that cannot be written is no reason to stop the run: close() says
/// so, and later lines are dropped.
class JournalWriter {
public:
    JournalWriter() = default;
    ~JournalWriter();
    JournalWriter(const JournalWriter&) = delete;
    JournalWriter& operator=(const JournalWriter&) = delete;

    /// Creates a new journal in `folder` (made if missing) and writes its first line;
    /// keeps only the newest `keep` journals there.
    bool open(const std::string& folder, Operation operation, bool isUndo, std::size_t keep = 50);
    void write(const JournalEntry& entry);
    /// The lines written from now until release() (or close()) reach the system
    /// together, in writes of about a mebibyte of whole lines (and one for the rest):
    /// for many files finished at the same moment.
    void hold() { m_holding = true; }
    void release();
    /// Flushes to the disk and closes. False when the journal could not be opened or a
    /// line was lost; true also when none was open.
    bool close();
    const std::string& path() const { return m_path; }

private:
    void writeLine(const std::string& line);
    void writeHeld();

    int m_fd = -1;
    bool m_failed = false;
    bool m_holding = false;
    std::string m_held;
    std::string m_path;
};

/// Reads a journal; nothing when it is not one.
std::optional<Journal> readJournal(const std::string& path);
/// The path of the newest journal in `folder`; empty when there is none.
std::string newestJournalPath(const std::string& folder);

/// Byte-exact text of a path for a journal line, and back: "%", blanks and control
/// characters as %XX, every other byte as it is.
std::string escapePath(const std::string& path);
std::optional<std::string> unescapePath(const std::string& text);

} // namespace run
