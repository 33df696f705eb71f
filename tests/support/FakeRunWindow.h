#pragma once

#include "run/RunWindow.h"

#include <optional>
#include <string>

/// The main window as a collection run sees it, held in plain fields, so that whole
/// runs can be driven and inspected without a display.
class FakeRunWindow final : public run::RunWindow {
public:
    std::string source;
    std::string dest;
    std::string fileTypes = "jpg";
    run::Operation operation = run::Operation::Copy;

    std::string caption = "閉じる";
    bool startEnabled = true;
    bool busy = false;
    std::optional<run::InputField> focused;
    bool inputsEnabled = true;

    std::string sourceFolderText() const override { return source; }
    std::string destFolderText() const override { return dest; }
    std::string fileTypesText() const override { return fileTypes; }
    run::Operation selectedOperation() const override { return operation; }
    std::string exitCaption() const override { return caption; }
    void setExitCaption(const std::string& text) override { caption = text; }
    void setStartEnabled(bool enabled) override { startEnabled = enabled; }
    void setBusyPointer(bool on) override { busy = on; }
    void focusField(run::InputField field) override { focused = field; }
    void setInputsEnabled(bool enabled) override { inputsEnabled = enabled; }

    /// True when the window shows no run: "閉じる", Start and the inputs enabled, default pointer.
    bool idle() const { return caption == "閉じる" && startEnabled && inputsEnabled && !busy; }
};
