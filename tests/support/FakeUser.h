#pragma once

#include "platform/EventPump.h"
#include "platform/FolderDialog.h"
#include "platform/MessageBox.h"
#include "platform/TextCompare.h"
#include "platform/UserServices.h"
#include "support/FakeOperations.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

/// A scripted stand-in for the user: records every message and question shown, answers
/// questions from a queue, and runs a hook at chosen yields so that tests can act "in
/// the middle" of long work without timers.
class FakeUser final : public platform::MessageBox,
                       public platform::EventPump,
                       public platform::TextCompare,
                       public platform::FolderDialog {
public:
    /// Every text shown, messages and questions alike, in order.
    std::vector<std::string> shown;
    /// Answers for askYesNo; an unscripted question is answered No.
    std::deque<bool> yesNoAnswers;

    int yields = 0;
    /// Called on every yield with its number (1 for the first).
    std::function<void(int)> onYield;

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    void yield() override;
    bool equalIgnoringCase(std::string_view left, std::string_view right) override;

    /// Every folder dialog shown, answered from the queue; an unscripted one is cancelled.
    std::vector<Request> folderRequests;
    std::deque<std::string> folderAnswers;
    std::string chooseFolder(const Request& request) override;

    FakeOperations operations;

    platform::UserServices services()
    {
        return platform::UserServices{*this, *this, *this, operations, operations, *this};
    }
};
