#pragma once

#include "platform/OperationWindow.h"

#include <functional>
#include <mutex>

class FakeOperations;

/// The file operations' windows as the program has them, without widgets: the work runs
/// on a thread of its own while the calling thread waits in a loop of turns, as the
/// window's thread waits in its event loop. Each turn hands the run its progress and
/// calls `onWait` with the turn's number, so that a test acts while the work is held up
/// (a click on キャンセル, the close) without timers. Questions are answered by
/// `answers` (its script and its record), one at a time.
class ThreadedOperations final : public platform::OperationWindow {
public:
    explicit ThreadedOperations(FakeOperations& answers) : m_answers(answers) {}

    /// Called at every turn of a wait, on the waiting thread; 1 for the first turn ever.
    std::function<void(int turn)> onWait;
    int turns = 0;

    void runWithProgress(std::uint64_t owner, const std::string& title, bool showProgress,
                         const std::function<void(platform::ProgressReport&)>& work) override;
    std::size_t choose(std::uint64_t owner, const std::string& text,
                       const std::vector<std::string>& buttons, std::size_t escapeIndex) override;
    void setRunProgress(ItemProgress progress) override { m_runProgress = std::move(progress); }

private:
    FakeOperations& m_answers;
    std::mutex m_asking;
    ItemProgress m_runProgress;
};
