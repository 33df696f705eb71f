#pragma once

#include "run/RunWindow.h"

#include <string>
#include <utility>

namespace bench {

/// The main window as a benchmark's copy run sees it: fixed inputs, nothing shown.
class HeadlessWindow final : public run::RunWindow {
public:
    HeadlessWindow(std::string source, std::string dest, run::Operation operation = run::Operation::Copy)
        : m_source(std::move(source)), m_dest(std::move(dest)), m_operation(operation)
    {
    }
    std::string sourceFolderText() const override { return m_source; }
    std::string destFolderText() const override { return m_dest; }
    std::string fileTypesText() const override { return "jpg"; }
    run::Operation selectedOperation() const override { return m_operation; }
    std::string exitCaption() const override { return m_caption; }
    void setExitCaption(const std::string& caption) override { m_caption = caption; }
    void setStartEnabled(bool) override {}
    void setBusyPointer(bool) override {}
    void focusField(run::InputField) override {}
    void setInputsEnabled(bool) override {}

private:
    std::string m_source;
    std::string m_dest;
    run::Operation m_operation;
    std::string m_caption;
};

} // namespace bench
