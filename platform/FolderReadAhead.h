#pragma once

#include "platform/FolderListing.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace platform {

/// Reads the folders a tree walk is about to list on threads of its own, many at once,
/// where every read is a round trip (a share, a FUSE file system). The walk itself is
/// unchanged: it still lists one folder after another in its own order and takes each
/// listing from here, read ahead or, when no thread has begun it yet, read there and
/// then. So the tree lists exactly as a walk reading every folder itself would.
///
/// Only the subfolders of folders the walk has entered are read ahead, so a link back
/// up the tree costs one listing and no more. A thread held up in a read that hangs
/// holds its own share of the state and ends whenever that read returns; the walk
/// waits for it only once it needs that very folder.
class FolderReadAhead {
public:
    /// `threads` readers; none left to begin a read once `stop` is set.
    FolderReadAhead(std::size_t threads, const std::atomic<bool>* stop);
    ~FolderReadAhead();
    FolderReadAhead(const FolderReadAhead&) = delete;
    FolderReadAhead& operator=(const FolderReadAhead&) = delete;

    /// The walk will read `folders` (paths ending in "/"), in this order, before any
    /// folder handed over earlier and not yet taken: the subfolders of the folder it has
    /// just entered.
    void expect(std::vector<std::string> folders);
    /// The listing of `folder`, as FolderListing::read gives it: taken from a thread
    /// that read it (waiting for one still reading), or read here.
    bool take(const std::string& folder, FolderListing& listing);

private:
    struct State;
    static void work(std::shared_ptr<State> state);

    std::shared_ptr<State> m_state;
};

} // namespace platform
