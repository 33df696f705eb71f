#pragma once

#include "platform/OperationWindow.h"
#include "platform/WindowRegistry.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

/// A scripted stand-in for the file operations' windows. Work runs at once on the
/// calling thread and reports its progress here; questions are answered by button text
/// from a queue; a hook runs as each item begins, so that tests can cancel or change the
/// disk "in the middle".
class FakeOperations final : public platform::OperationWindow,
                             public platform::WindowRegistry,
                             public platform::ProgressReport {
public:
    /// Every question and message text, in order.
    std::vector<std::string> shown;
    /// Answers by button text. An unscripted question, or an answer that is none of its
    /// buttons, is recorded in `unexpected` and answered with its escape button.
    std::deque<std::string> answers;
    std::vector<std::string> unexpected;

    /// Per runWithProgress: its title, or "" when it asked for no progress window.
    std::vector<std::string> progressTitles;
    std::vector<std::string> itemNames;
    std::uint64_t bytesReported = 0;
    /// Called as item `number` (1 for the first) begins.
    std::function<void(int number)> onItem;
    /// Set to press the progress window's cancel button.
    bool cancelPressed = false;

    /// The ids of the live windows.
    std::set<std::uint64_t> windows;

    void runWithProgress(std::uint64_t owner, const std::string& title, bool showProgress,
                         const std::function<void(platform::ProgressReport&)>& work) override;
    std::size_t choose(std::uint64_t owner, const std::string& text,
                       const std::vector<std::string>& offered, std::size_t escapeIndex) override;
    bool isWindow(std::uint64_t window) override { return windows.count(window) > 0; }
    void beginItem(std::size_t index, std::size_t count, const std::string& name,
                   std::uint64_t bytes) override;
    void addBytes(std::uint64_t bytes) override { bytesReported += bytes; }
    bool cancelRequested() const override { return cancelPressed; }
};
