#pragma once

#include "run/RunReport.h"

#include <chrono>
#include <functional>
#include <string>

class DesktopNotifier;

/// Follows a run for the run window and, when a run that took a while ends unseen (no
/// window of the program is active), tells the desktop: one notification whose text is
/// the report's first line, its title saying whether the run was stopped or some files
/// failed. A click on it is the notifier's `activated`.
class RunEndNotice final : public run::RunMonitor {
public:
    /// How long a run works before its end is worth a notification.
    static constexpr std::chrono::seconds kLongRun{10};

    RunEndNotice(run::RunMonitor& window, DesktopNotifier& notifier);

    void runStarted(const run::RunReport& report) override;
    void runProgressed(const run::RunReport& report) override;
    void runEnded(const run::RunReport& report, bool closing) override;

    /// Whether the user has the program in front of them; by default, whether one of its
    /// windows is the active one. Tests replace it.
    std::function<bool()> seen;
    /// How long the run took; by default the report's own times. Tests replace it.
    std::function<std::chrono::steady_clock::duration(const run::RunReport&)> runTime;

    /// The notification's title and text for an ended run.
    static std::string title(const run::RunReport& report);
    static std::string text(const run::RunReport& report);

private:
    run::RunMonitor& m_window;
    DesktopNotifier& m_notifier;
};
