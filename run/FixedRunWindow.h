#pragma once

#include "run/RunWindow.h"

#include <string>
#include <utility>

namespace run {

/// The window of a run that has none (the command line, benchmarks): its inputs are
/// fixed values, and what a run shows on a window goes nowhere.
class FixedRunWindow final : public RunWindow {
public:
    explicit FixedRunWindow(RunInputs inputs) : m_inputs(std::move(inputs)) {}

    std::string sourceFolderText() const override { return m_inputs.sourceFolder; }
    std::string destFolderText() const override { return m_inputs.destFolder; }
    std::string fileTypesText() const override { return m_inputs.fileTypes; }
    Operation selectedOperation() const override { return m_inputs.operation; }
    std::string exitCaption() const override { return m_caption; }
    void setExitCaption(const std::string& caption) override { m_caption = caption; }
    void setStartEnabled(bool) override {}
    void setBusyPointer(bool) override {}
    void focusField(InputField) override {}
    void setInputsEnabled(bool) override {}

private:
    RunInputs m_inputs;
    std::string m_caption;
};

} // namespace run
