#pragma once

#include "platform/OperationWindow.h"
#include "platform/WindowRegistry.h"

#include <QPointer>

#include <functional>
#include <utility>
#include <vector>

class QMessageBox;
class QProgressDialog;
class QWidget;

namespace platform {

/// The windows of the file operations, carried out with Qt widgets. The work runs on a
/// worker thread while the calling thread keeps the windows painted; until the progress
/// window appears, user input is held back, and once it is up it is modal, so none of
/// the program's own handlers run in between. During a collection run the run's own
/// window shows the progress instead, the program stays live, and so do its questions:
/// the run's cancel and the close box work at any moment.
class QtOperationWindow final : public OperationWindow, public WindowRegistry {
public:
    /// How long work runs before the progress window appears, in milliseconds; never
    /// while a question of the work is open, which would cover and block it.
    static constexpr int kDefaultProgressDelay = 500;

    void runWithProgress(std::uint64_t owner, const std::string& title, bool showProgress,
                         const std::function<void(ProgressReport&)>& work) override;
    std::size_t choose(std::uint64_t owner, const std::string& text,
                       const std::vector<std::string>& buttons,
                       std::size_t escapeIndex) override;
    bool isWindow(std::uint64_t window) override;
    void setRunProgress(ItemProgress progress) override { m_runProgress = std::move(progress); }
    void answerOpenQuestions() override;

    /// The live top-level window of the program with the id `window`; null when none.
    static QWidget* topLevelWindow(std::uint64_t window);

    void setProgressDelay(int milliseconds) { m_progressDelay = milliseconds; }
    /// Called with each progress window right after it is shown, and with each message
    /// box just before it runs: lets tests act on them.
    std::function<void(QProgressDialog&)> onProgressShown;
    std::function<void(QMessageBox&)> onMessage;

private:
    std::size_t chooseHere(std::uint64_t owner, const std::string& text,
                           const std::vector<std::string>& buttons, std::size_t escapeIndex);
    void waitForAnswer(QMessageBox& box);

    int m_progressDelay = kDefaultProgressDelay;
    QProgressDialog* m_progress = nullptr; // the progress window while it is up
    bool m_questionAsked = false;          // a question held the work up
    std::vector<QPointer<QMessageBox>> m_openQuestions; // on screen right now
    ItemProgress m_runProgress;            // set while a collection run is active
};

} // namespace platform
