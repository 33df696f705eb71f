#include "app/RunEndNotice.h"

#include "app/DesktopNotifier.h"
#include "app/DesktopTexts.h"
#include "run/RunReportText.h"

#include <QApplication>
#include <QString>

RunEndNotice::RunEndNotice(run::RunMonitor& window, DesktopNotifier& notifier)
    : seen([] { return QApplication::activeWindow() != nullptr; }),
      runTime([](const run::RunReport& report) { return report.elapsed(report.finished); }),
      m_window(window),
      m_notifier(notifier)
{
}

void RunEndNotice::runStarted(const run::RunReport& report)
{
    m_window.runStarted(report);
}

void RunEndNotice::runProgressed(const run::RunReport& report)
{
    m_window.runProgressed(report);
}

void RunEndNotice::runEnded(const run::RunReport& report, bool closing)
{
    // Asked before the run window turns into the report, which activates it. A run the
    // user ended by closing the window needs no word.
    const bool tell = !closing && runTime(report) >= kLongRun && !seen();
    m_window.runEnded(report, closing);
    if (tell)
        m_notifier.notify(QString::fromStdString(title(report)), QString::fromStdString(text(report)),
            QString::fromStdString(desktop_texts::showReport()));
}

std::string RunEndNotice::title(const run::RunReport& report)
{
    // "完了 - コピー" and "中断 - コピー" as the run window's title; a finished run in which
    // files failed says that instead of 完了.
    const std::string windowTitle = run::report_text::title(report);
    if (report.stopped || report.counts().failed == 0)
        return windowTitle;
    return desktop_texts::someFailed(windowTitle.substr(windowTitle.find(" - ") + 3));
}

std::string RunEndNotice::text(const run::RunReport& report)
{
    const std::string summary = run::report_text::summary(report);
    return summary.substr(0, summary.find('\n'));
}
