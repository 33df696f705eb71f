#pragma once

#include "platform/FileCopier.h"
#include "run/RunReport.h"

#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace run {

/// Writes the small files of a copy run into unnamed files of the destination folder,
/// ahead of their turn on a thread of its own, and on the run's thread whenever that
/// would otherwise wait (or finds a file not yet begun). The run still places every file itself, in list order
/// and through the usual operation, so questions, progress, stopping and the journal
/// stay where they were; a copy made ahead only spares it the writing. A file not made
/// ahead, for any reason, is copied the usual way, which reports what goes wrong.
/// Copies never placed vanish with their descriptors, also when the process dies.
class CopyAhead {
public:
    /// Files larger than this are left to the usual copy, which shows their progress.
    static constexpr std::uint64_t kLargestFile = 1024 * 1024;
    /// How many files may wait, made, for their turn.
    static constexpr std::size_t kWindow = 32;

    /// Starts on `files`, which must keep their sources and sizes while this lives. Does
    /// nothing when `destinationFolder` cannot be opened.
    CopyAhead(const std::vector<FileRecord>& files, const std::string& destinationFolder);
    ~CopyAhead();
    CopyAhead(const CopyAhead&) = delete;
    CopyAhead& operator=(const CopyAhead&) = delete;

    /// The copy of file `index`, made ahead or now, or null when it is to be copied the
    /// usual way. Asked for every index in turn: from then on the run may change that
    /// file's record.
    std::unique_ptr<platform::PreparedCopy> take(std::size_t index);

private:
    void work();
    /// Writes file `index`'s copy and files it; called with the lock held, which it drops
    /// while it writes.
    void make(std::size_t index, std::unique_lock<std::mutex>& lock);
    bool mayClaim() const { return !m_stopping && m_claimed < m_files.size() && m_claimed < m_taken + kWindow; }

    const std::vector<FileRecord>& m_files;
    int m_folderFd = -1;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::size_t m_claimed = 0; // files from here on are not being written yet
    std::size_t m_taken = 0;   // files before this one are the run's again
    bool m_stopping = false;
    // By file index modulo kWindow: whether the file's copy (null when it was not made)
    // waits in m_made to be taken.
    std::vector<bool> m_ready;
    std::vector<std::unique_ptr<platform::PreparedCopy>> m_made;
    std::thread m_worker;
};

} // namespace run
