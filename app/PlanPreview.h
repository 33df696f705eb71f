#pragma once

#include "run/CollectionRun.h"
#include "run/RunReport.h"
#include "run/RunWindow.h"

#include <QPointer>

#include <functional>
#include <optional>

class PreviewWindow;
class QWidget;

namespace platform {
class MessageBox;
}

/// プレビュー: a dry run of what 実行 would do, shown in a PreviewWindow, and the run of
/// exactly that plan when the user asks for it. The run goes ahead only while a fresh
/// plan of the same inputs still equals the one shown; otherwise the user is told and
/// sees the new plan, and nothing is done.
class PlanPreview {
public:
    /// What the preview needs of the main window.
    struct Window {
        QWidget& owner;                                // the preview window's owner
        run::CollectionRun& run;                      // the window's run
        run::RunMonitor* monitor;                     // follows real runs; left out of dry runs
        platform::MessageBox& messages;
        std::function<bool()> skipIdentical;          // the setting as it stands
        std::function<bool()> closing;                // the window was asked to close
        std::function<void(run::WindowAction)> ended; // after a run, dry or real
        std::function<void()> hideReport;             // the run window's report of a stopped run
    };

    explicit PlanPreview(Window window);
    ~PlanPreview();
    PlanPreview(const PlanPreview&) = delete;
    PlanPreview& operator=(const PlanPreview&) = delete;

    /// The menu entry: plans what 実行 would do with the window's inputs and shows it.
    void start();
    /// The preview window, once it has been made.
    PreviewWindow* window() const { return m_preview; }

private:
    /// A dry run; of the window's inputs when `inputs` is none.
    run::WindowAction dryRun(const std::optional<run::RunInputs>& inputs);
    void show(const run::RunReport& plan);
    void runShown();
    /// Tells the user that the plan has changed and shows the new one.
    void showChanged();

    Window m_window;
    QPointer<PreviewWindow> m_preview;
    run::RunInputs m_inputs; // of the plan shown
    bool m_skipIdentical = false;
};
