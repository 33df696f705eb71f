#pragma once

#include "platform/EventPump.h"
#include "platform/FolderDialog.h"
#include "platform/MessageBox.h"
#include "platform/OperationWindow.h"
#include "platform/TextCompare.h"
#include "platform/UserServices.h"
#include "platform/WindowRegistry.h"

#include <cstddef>
#include <functional>
#include <string>

/// The user's side of a run started from a terminal: messages go to standard error,
/// questions are asked on standard input when it is a terminal and otherwise take the
/// safe answer (no, skip) unless `--yes` was given, and SIGINT or SIGTERM stops the
/// run between files and rolls back the file in progress.
class TerminalServices final : public platform::MessageBox,
                               public platform::EventPump,
                               public platform::TextCompare,
                               public platform::OperationWindow,
                               public platform::WindowRegistry,
                               public platform::FolderDialog,
                               private platform::ProgressReport {
public:
    explicit TerminalServices(bool yes) : m_yes(yes) {}

    platform::UserServices services() { return {*this, *this, *this, *this, *this, *this}; }

    /// Catches SIGINT and SIGTERM from now on; interrupted() tells whether one came.
    static void catchInterrupts();
    static bool interrupted();
    /// Called at the first yield after an interrupt: asks the run to stop.
    std::function<void()> onInterrupt;
    /// Messages shown so far: a run that planned nothing and said something failed a check.
    std::size_t messageCount() const { return m_messages; }
    /// Questions answered no so far, by the user or for want of a terminal.
    std::size_t declinedCount() const { return m_declined; }

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    /// Not covered by --yes: asked on a terminal, answered no without one.
    bool askYesNoUnassumed(const std::string& text) override;
    void yield() override;
    bool equalIgnoringCase(std::string_view left, std::string_view right) override;
    void runWithProgress(std::uint64_t owner, const std::string& title, bool showProgress,
                         const std::function<void(platform::ProgressReport&)>& work) override;
    std::size_t choose(std::uint64_t owner, const std::string& text, const std::vector<std::string>& buttons,
                       std::size_t escapeIndex) override;
    void setRunProgress(ItemProgress progress) override { m_progress = std::move(progress); }
    bool isWindow(std::uint64_t) override { return false; }
    std::string chooseFolder(const Request&) override { return {}; }

private:
    bool askOnTerminal(const std::string& text);
    void beginItem(std::size_t index, std::size_t count, const std::string& name, std::uint64_t bytes) override;
    void addBytes(std::uint64_t bytes) override;
    bool cancelRequested() const override { return interrupted(); }

    bool m_yes;
    std::size_t m_messages = 0;
    std::size_t m_declined = 0;
    ItemProgress m_progress;
    std::size_t m_index = 0;
    std::uint64_t m_bytesDone = 0;
    std::size_t m_itemsBegun = 0; // over the whole run, for the interrupt test hook
};
