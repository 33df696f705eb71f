#include "app/PlanPreview.h"

#include "app/PreviewWindow.h"
#include "platform/MessageBox.h"
#include "platform/TextCatalog.h"
#include "run/PlanView.h"

PlanPreview::PlanPreview(Window window) : m_window(std::move(window)) {}

PlanPreview::~PlanPreview()
{
    delete m_preview.data();
}

void PlanPreview::start()
{
    if (m_window.run.isRunning() || m_window.closing())
        return;
    m_skipIdentical = m_window.skipIdentical();
    const run::WindowAction action = dryRun(std::nullopt);
    m_window.ended(action);
    if (action == run::WindowAction::Close || m_window.run.report().files.empty())
        return; // a check failed (the run has said why), or nothing was found
    m_inputs = m_window.run.inputs();
    show(m_window.run.report());
}

run::WindowAction PlanPreview::dryRun(const std::optional<run::RunInputs>& inputs)
{
    run::CollectionRun& run = m_window.run;
    run.setFixedInputs(inputs);
    run.setSkipIdentical(m_skipIdentical);
    run.setDryRun(true);
    // The run window would show the plan as a copy that has not begun.
    run.setMonitor(nullptr);
    const run::WindowAction action = run.cmdStartClick();
    run.setMonitor(m_window.monitor);
    run.setDryRun(false);
    run.setFixedInputs(std::nullopt);
    return action;
}

void PlanPreview::show(const run::RunReport& plan)
{
    if (!m_preview) {
        m_preview = new PreviewWindow(&m_window.owner);
        m_preview->onRun = [this] { runShown(); };
    }
    m_preview->showPlan(plan);
    m_preview->show();
    m_preview->raise();
    m_preview->activateWindow();
}

void PlanPreview::runShown()
{
    if (m_window.closing())
        return;
    // Planned again first, writing nothing: what changed since the preview is found
    // before a folder is made or a question asked.
    run::WindowAction action = dryRun(m_inputs);
    if (action == run::WindowAction::Close) {
        m_window.ended(action);
        return;
    }
    if (!run::samePlan(m_preview->plan(), m_window.run.report())) {
        m_window.ended(action);
        showChanged();
        return;
    }

    run::CollectionRun& run = m_window.run;
    bool changed = false;
    run.setFixedInputs(m_inputs);
    run.setSkipIdentical(m_skipIdentical);
    // The preview planned an undecided destination as one that folds case; so does its run.
    run.setAssumeCaseFolding(true);
    // Whatever changed in the moment between that plan and the run's own stops it
    // before the first file.
    const run::RunReport& shown = m_preview->plan();
    run.setPlanCheck([&](const run::RunReport& plan) { return !(changed = !run::samePlan(shown, plan)); });
    action = run.cmdStartClick();
    run.setPlanCheck(nullptr);
    run.setAssumeCaseFolding(false);
    run.setFixedInputs(std::nullopt);
    m_window.ended(action);
    if (changed && action != run::WindowAction::Close) {
        m_window.hideReport();
        if (dryRun(m_inputs) == run::WindowAction::Close) {
            m_window.ended(run::WindowAction::Close);
            return;
        }
        showChanged();
    }
}

void PlanPreview::showChanged()
{
    m_window.messages.showMessage(platform::translate(
        "PlanPreview", "プレビューの後に保存先または対象のファイルが変わったため、計画し直しました。"));
    // A plan of nothing (the source folder gone, no file left) has nothing to show; the
    // run's own checks have said what is wrong.
    if (!m_window.run.report().files.empty())
        show(m_window.run.report());
}
