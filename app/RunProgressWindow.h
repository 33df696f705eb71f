#pragma once

#include "run/RunReport.h"

#include <QUrl>
#include <QWidget>

#include <chrono>
#include <functional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

/// The window of a collection run: it comes up once the run has worked for half a
/// second and follows it (files and bytes done, the file in progress, elapsed and
/// remaining time, キャンセル), and at the end turns into the run's report. A short run
/// that did everything asked shows nothing. It only reads the run's report.
class RunProgressWindow final : public QWidget, public run::RunMonitor {
    Q_OBJECT

public:
    /// `cancel` does what the main window's キャンセル does.
    RunProgressWindow(QWidget* owner, std::function<void()> cancel);

    void runStarted(const run::RunReport& report) override;
    void runProgressed(const run::RunReport& report) override;
    void runEnded(const run::RunReport& report, bool closing) override;

    /// Shows the window again, on top and active, with what it last showed: the running
    /// run's progress or the last run's report. False when it has neither to show.
    bool bringUp();

    /// How long a run works before the window comes up.
    void setShowDelay(std::chrono::milliseconds delay) { m_showDelay = delay; }
    /// Opens the destination folder in the desktop's file manager; tests replace it.
    std::function<bool(const QUrl&)> openUrl;

    QProgressBar* progressBar() const { return m_bar; }
    QLabel* statusLabel() const { return m_status; }
    QPlainTextEdit* problemList() const { return m_problems; }
    QPushButton* actionButton() const { return m_action; }
    QPushButton* openFolderButton() const { return m_openFolder; }
    /// The line of the file in progress, or of the file the run waits on.
    QLabel* currentLabel() const { return m_current; }

protected:
    void closeEvent(QCloseEvent* event) override;
    /// Watches the program's windows while a run works: see runStarted.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh(const run::RunReport& report);
    void showReport(const run::RunReport& report);

    std::function<void()> m_cancel;
    std::chrono::milliseconds m_showDelay{500};
    std::chrono::steady_clock::time_point m_lastRefresh{};
    QTimer* m_catchUp; // the refresh the interval held back
    const run::RunReport* m_report = nullptr; // the running run's, between its start and end
    bool m_running = false;
    bool m_reported = false; // it holds the report of the last run
    QString m_destFolder;
    std::string m_waitingShown; // the path the line of the file in progress names as waited on

    QLabel* m_status;
    QProgressBar* m_bar;
    QLabel* m_current;
    QPlainTextEdit* m_problems;
    QPushButton* m_openFolder;
    QPushButton* m_action; // キャンセル while the run works, 閉じる for the report
};
