#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform {

/// What a running file operation tells its progress window. Written by the work as it
/// goes, on the thread that does the work.
class ProgressReport {
public:
    virtual ~ProgressReport() = default;

    /// Item `index` (from 0) of `count` begins; it holds `bytes` bytes of content to
    /// copy (0 when nothing is copied). `name` is empty when names are not to be shown.
    virtual void beginItem(std::size_t index, std::size_t count, const std::string& name,
                           std::uint64_t bytes) = 0;

    /// `bytes` more bytes of the current item are done.
    virtual void addBytes(std::uint64_t bytes) = 0;

    /// True once the user has asked to cancel in the progress window. The work then
    /// rolls back the item in progress and starts no other.
    virtual bool cancelRequested() const = 0;
};

/// The windows of one file operation: its questions and error messages, and the
/// progress window. While an operation runs, the program's own windows take no input,
/// as if the call were a single modal dialog.
class OperationWindow {
public:
    virtual ~OperationWindow() = default;

    /// Runs `work` and returns once it has returned. When `showProgress` is set and the
    /// work is still running after about half a second, a progress window titled
    /// `title` shows what the work reports, with a cancel button; quick work never
    /// shows it. `owner` is the window id that owns the windows shown (0 for none).
    virtual void runWithProgress(std::uint64_t owner, const std::string& title,
                                 bool showProgress,
                                 const std::function<void(ProgressReport&)>& work) = 0;

    /// Shows `text` in a modal message (the program's title as caption, no icon) with
    /// the given buttons, and returns the index of the one chosen; closing the window
    /// counts as `escapeIndex`. May be called from inside the work of runWithProgress,
    /// on the work's thread; it returns once the user has answered.
    virtual std::size_t choose(std::uint64_t owner, const std::string& text,
                               const std::vector<std::string>& buttons,
                               std::size_t escapeIndex) = 0;

    /// Progress of the item in progress: its index in the operation and its bytes done.
    using ItemProgress = std::function<void(std::size_t index, std::uint64_t bytesDone)>;

    /// While a collection run is active, it shows one window of its own for all its
    /// operations: set, operations open no progress window but hand their progress to
    /// `progress` on the calling thread, and their questions leave the rest of the
    /// program live, so that the run's cancel and close stay in reach. Empty again
    /// after the run. Windows without a progress window of their own need do nothing.
    virtual void setRunProgress(ItemProgress progress) { static_cast<void>(progress); }

    /// Answers every question that is open with its escape button: the program is
    /// closing and nobody will answer them.
    virtual void answerOpenQuestions() {}
};

} // namespace platform
