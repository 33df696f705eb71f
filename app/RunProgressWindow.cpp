#include "app/RunProgressWindow.h"

#include "run/RunReportText.h"
#include "run/RunTexts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

QString text(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Paths are the file system's bytes; shown as the file dialogs show them.
QString pathText(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The window follows the run four times a second: each repaint of its Japanese text
// costs the run a few milliseconds, and a faster count is not read anyway. What the
// limit holds back is shown when the interval is up, not at the next call, which may
// be far off: a question of the operation holds the run up for as long as it is open.
constexpr auto kRefreshInterval = std::chrono::milliseconds(250);

} // namespace

RunProgressWindow::RunProgressWindow(QWidget* owner, std::function<void()> cancel)
    : QWidget(owner, Qt::Dialog)
    , openUrl(&QDesktopServices::openUrl)
    , m_cancel(std::move(cancel))
    , m_catchUp(new QTimer(this))
    , m_status(new QLabel(this))
    , m_bar(new QProgressBar(this))
    , m_current(new QLabel(this))
    , m_problems(new QPlainTextEdit(this))
    , m_openFolder(new QPushButton(tr("保存先フォルダを開く"), this))
    , m_action(new QPushButton(tr("キャンセル"), this))
{
    setObjectName(QStringLiteral("runWindow"));
    setWindowModality(Qt::NonModal);
    // Coming up during a run, it leaves the keyboard with the main window, so that an
    // Enter or Space meant for that window never lands on キャンセル; the report at the
    // end is activated on purpose.
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_bar->setRange(0, 1000);
    m_bar->setTextVisible(false);
    m_current->setTextFormat(Qt::PlainText);
    m_current->setMinimumWidth(420);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_problems->setReadOnly(true);
    m_problems->setMinimumSize(520, 120);
    m_problems->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_openFolder);
    buttons->addWidget(m_action);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_bar);
    layout->addWidget(m_current);
    layout->addWidget(m_problems, 1);
    layout->addLayout(buttons);

    connect(m_action, &QPushButton::clicked, this, [this] {
        if (m_running)
            m_cancel();
        else
            hide();
    });
    connect(m_openFolder, &QPushButton::clicked, this,
            [this] { openUrl(QUrl::fromLocalFile(m_destFolder)); });
    m_catchUp->setSingleShot(true);
    connect(m_catchUp, &QTimer::timeout, this, [this] {
        if (m_running && m_report && isVisible())
            refresh(*m_report);
    });
}

void RunProgressWindow::runStarted(const run::RunReport& report)
{
    m_running = true;
    m_reported = false;
    m_report = &report;
    // A question or message that comes up in the middle of the run is read together
    // with this window: it must not show figures from before the files just placed.
    qApp->installEventFilter(this);
    m_destFolder = pathText(report.destFolder);
    hide();
    m_bar->show();
    m_current->show();
    m_problems->hide();
    m_problems->clear();
    m_openFolder->hide();
    m_action->setText(tr("キャンセル"));
}

void RunProgressWindow::runProgressed(const run::RunReport& report)
{
    const Clock::time_point now = Clock::now();
    m_report = &report;
    if (isVisible()) {
        const Clock::duration sinceRefresh = now - m_lastRefresh;
        // What holds the run up is news the user waits for: no interval holds it back.
        if (sinceRefresh >= kRefreshInterval || report.waitingFor != m_waitingShown)
            refresh(report);
        else if (!m_catchUp->isActive())
            m_catchUp->start(std::chrono::ceil<std::chrono::milliseconds>(kRefreshInterval - sinceRefresh));
        return;
    }
    // Never over an open message or question of the run: it would cover it.
    if (report.elapsed(now) < m_showDelay || QApplication::activeModalWidget())
        return;
    refresh(report);
    show();
    raise();
}

void RunProgressWindow::refresh(const run::RunReport& report)
{
    const Clock::time_point now = Clock::now();
    m_lastRefresh = now;
    m_catchUp->stop();
    setWindowTitle(text(run::report_text::title(report)));
    m_status->setText(text(run::report_text::progress(report, now)).trimmed());
    m_bar->setValue(report.permille());
    const run::FileRecord* file = report.current();
    QString current;
    m_waitingShown = report.waitingFor;
    if (!report.waitingFor.empty()) {
        current = text(run::texts::waitingFor()) + pathText(report.waitingFor);
    } else if (file) {
        current = pathText(file->source.str());
        if (file->bytes > 0)
            current += QStringLiteral("  (%1 / %2)").arg(text(run::report_text::size(report.currentBytesDone)),
                                                         text(run::report_text::size(file->bytes)));
    }
    m_current->setText(m_current->fontMetrics().elidedText(current, Qt::ElideMiddle, m_current->width()));
    m_current->setToolTip(current); // the whole path, however long
}

void RunProgressWindow::runEnded(const run::RunReport& report, bool closing)
{
    m_running = false;
    m_report = nullptr;
    m_catchUp->stop();
    qApp->removeEventFilter(this);
    // Nothing was planned (a check failed, nothing was found), or the program closes.
    if (closing || report.files.empty() || (!isVisible() && !report.needsAttention())) {
        hide();
        return;
    }
    showReport(report);
}

void RunProgressWindow::showReport(const run::RunReport& report)
{
    setWindowTitle(text(run::report_text::title(report)));
    m_status->setText(text(run::report_text::summary(report)).trimmed());
    m_bar->hide();
    m_current->hide();
    const std::string problems = run::report_text::problems(report);
    m_problems->setPlainText(text(problems));
    m_problems->setVisible(!problems.empty());
    const bool placed = report.operation == run::Operation::Copy || report.operation == run::Operation::Move;
    m_openFolder->setVisible(placed);
    m_action->setText(tr("閉じる"));
    m_action->setDefault(true);
    m_reported = true;
    adjustSize();
    show();
    raise();
    activateWindow();
}

bool RunProgressWindow::bringUp()
{
    if (!m_running && !m_reported)
        return false;
    show();
    raise();
    activateWindow();
    return true;
}

void RunProgressWindow::closeEvent(QCloseEvent* event)
{
    // Closing the window of a running run asks it to stop, as キャンセル does; the
    // window stays to show how far it got.
    if (m_running) {
        event->ignore();
        m_cancel();
        return;
    }
    QWidget::closeEvent(event);
}

bool RunProgressWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The run stands still while a dialog of it is open, so the figures shown as it
    // comes up stay true until it is answered. The report is whole whenever the run
    // lets events through.
    if (event->type() == QEvent::Show && watched != this && m_running && m_report && isVisible()
        && qobject_cast<QDialog*>(watched) && static_cast<QWidget*>(watched)->isWindow())
        refresh(*m_report);
    return QWidget::eventFilter(watched, event);
}
