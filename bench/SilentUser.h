#pragma once

#include "platform/EventPump.h"
#include "platform/FolderDialog.h"
#include "platform/MessageBox.h"
#include "platform/OperationWindow.h"
#include "platform/TextCompare.h"
#include "platform/UserServices.h"
#include "platform/WindowRegistry.h"

#include <cstdio>

namespace bench {

/// A user who is never asked anything in a benchmark: messages go to stderr, questions
/// are answered with their escape button, and work runs at once without progress.
class SilentUser final : public platform::MessageBox,
                         public platform::EventPump,
                         public platform::TextCompare,
                         public platform::OperationWindow,
                         public platform::WindowRegistry,
                         public platform::FolderDialog,
                         private platform::ProgressReport {
public:
    void showMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    /// The answer to every Yes/No question.
    bool answerYes = false;
    bool askYesNo(const std::string&) override { return answerYes; }
    void yield() override {}
    bool equalIgnoringCase(std::string_view a, std::string_view b) override { return a == b; }
    void runWithProgress(std::uint64_t, const std::string&, bool,
                         const std::function<void(platform::ProgressReport&)>& work) override
    {
        work(*this);
    }
    std::size_t choose(std::uint64_t, const std::string& text, const std::vector<std::string>&,
                       std::size_t escapeIndex) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
        return escapeIndex;
    }
    bool isWindow(std::uint64_t) override { return false; }
    std::string chooseFolder(const Request&) override { return {}; }

    platform::UserServices services() { return {*this, *this, *this, *this, *this, *this}; }

private:
    void beginItem(std::size_t, std::size_t, const std::string&, std::uint64_t) override {}
    void addBytes(std::uint64_t) override {}
    bool cancelRequested() const override { return false; }
};

} // namespace bench
