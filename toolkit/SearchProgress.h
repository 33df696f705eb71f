#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace platform {
class PendingCall;
}

/// A tree search watched from another thread than the one it runs on: how far it has
/// got, the folder it is reading, and a way to stop it. A run searches on a worker
/// while the window shows these counts and stays live.
struct SearchProgress {
    /// Folders read so far, and files found in them.
    std::atomic<std::int32_t> folders{0};
    std::atomic<std::int32_t> files{0};
    /// Told of each folder as it is read; none when nobody asks.
    platform::PendingCall* reading = nullptr;
    /// Once set, the search ends before the next folder is read; its list is then only
    /// part of the tree.
    const std::atomic<bool>* stop = nullptr;
    /// How many folders may be read at once, ahead of the walk: many where every read
    /// is a round trip (a share), one on a local disk, where more threads buy nothing.
    /// The list is the same either way.
    std::size_t foldersAtOnce = 1;
    /// Called on the searching thread as each folder is read (its path ends in "/"),
    /// once `reading` knows of it; lets tests hold a listing up as a share that does
    /// not answer would.
    std::function<void(const std::string& folder)> beforeReading;

    /// Whether the last search ended because of `stop`.
    bool stopped = false;
};
