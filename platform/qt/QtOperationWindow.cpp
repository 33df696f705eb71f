#include "platform/qt/QtOperationWindow.h"

#include "platform/TextCatalog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace platform {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What the work reports, shared between the worker thread and the window.
class SharedReport final : public ProgressReport {
public:
    void beginItem(std::size_t index, std::size_t count, const std::string& name,
                   std::uint64_t bytes) override
    {
        const std::lock_guard lock(m_mutex);
        m_index = index;
        m_count = count;
        m_name = name;
        m_itemBytes = bytes;
        m_bytesDone = 0;
    }

    void addBytes(std::uint64_t bytes) override
    {
        const std::lock_guard lock(m_mutex);
        m_bytesDone += bytes;
    }

    bool cancelRequested() const override { return m_cancel.load(); }
    void cancel() { m_cancel.store(true); }

    /// The item in progress and its bytes done.
    std::pair<std::size_t, std::uint64_t> position() const
    {
        const std::lock_guard lock(m_mutex);
        return {m_index, m_bytesDone};
    }

    /// Progress in thousandths, and the name of the item in progress.
    int permille(QString& name) const
    {
        const std::lock_guard lock(m_mutex);
        name = fromUtf8(m_name);
        if (m_count == 0)
            return 0;
        // Items for a long list, bytes within the item: a big single file moves too.
        const double withinItem = m_itemBytes == 0
            ? 0.0
            : static_cast<double>(m_bytesDone) / static_cast<double>(m_itemBytes);
        return static_cast<int>(1000.0 * (static_cast<double>(m_index) + std::min(withinItem, 1.0))
                                / static_cast<double>(m_count));
    }

private:
    mutable std::mutex m_mutex;
    std::size_t m_index = 0;
    std::size_t m_count = 0;
    std::string m_name;
    std::uint64_t m_itemBytes = 0;
    std::uint64_t m_bytesDone = 0;
    std::atomic<bool> m_cancel{false};
};

} // namespace

QWidget* QtOperationWindow::topLevelWindow(std::uint64_t window)
{
    if (window == 0)
        return nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        // internalWinId: asking winId() would create native windows as a side effect.
        if (static_cast<std::uint64_t>(widget->internalWinId()) == window)
            return widget;
    }
    return nullptr;
}

bool QtOperationWindow::isWindow(std::uint64_t window)
{
    return topLevelWindow(window) != nullptr;
}

std::size_t QtOperationWindow::chooseHere(std::uint64_t owner, const std::string& text,
                                          const std::vector<std::string>& buttons,
                                          std::size_t escapeIndex)
{
    QWidget* parent = m_progress ? static_cast<QWidget*>(m_progress) : topLevelWindow(owner);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quorvane"), fromUtf8(text),
                    QMessageBox::NoButton, parent);
    std::vector<QPushButton*> added;
    for (const std::string& label : buttons)
        added.push_back(box.addButton(fromUtf8(label), QMessageBox::AcceptRole));
    if (!added.empty()) {
        box.setDefaultButton(added.front());
        box.setEscapeButton(added[std::min(escapeIndex, added.size() - 1)]);
    }
    if (onMessage)
        onMessage(box);
    m_openQuestions.emplace_back(&box);
    if (m_runProgress)
        waitForAnswer(box);
    else
        box.exec();
    std::erase(m_openQuestions, &box);
    m_questionAsked = true;
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (box.clickedButton() == added[i])
            return i;
    }
    return escapeIndex;
}

void QtOperationWindow::waitForAnswer(QMessageBox& box)
{
    // Not modal: a modal box would hold back the main window's close box. It still
    // comes up on top and takes the keyboard, as a modal one would.
    QEventLoop answered;
    QObject::connect(&box, &QMessageBox::finished, &answered, &QEventLoop::quit);
    box.setWindowModality(Qt::NonModal);
    box.show();
    box.raise();
    box.activateWindow();
    answered.exec();
}

void QtOperationWindow::answerOpenQuestions()
{
    for (const QPointer<QMessageBox>& box : std::vector(m_openQuestions)) {
        if (box && box->escapeButton())
            box->escapeButton()->click();
        else if (box)
            box->reject();
    }
}

std::size_t QtOperationWindow::choose(std::uint64_t owner, const std::string& text,
                                      const std::vector<std::string>& buttons,
                                      std::size_t escapeIndex)
{
    if (QThread::currentThread() == qApp->thread())
        return chooseHere(owner, text, buttons, escapeIndex);
    // From the worker: the window thread asks, the worker waits for the answer.
    std::size_t answer = escapeIndex;
    QMetaObject::invokeMethod(
        qApp, [&] { answer = chooseHere(owner, text, buttons, escapeIndex); },
        Qt::BlockingQueuedConnection);
    return answer;
}

void QtOperationWindow::runWithProgress(std::uint64_t owner, const std::string& title,
                                        bool showProgress,
                                        const std::function<void(ProgressReport&)>& work)
{
    SharedReport report;
    std::atomic<bool> finished{false};
    QEventLoop loop;
    std::thread worker([&] {
        work(report);
        finished.store(true);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    QElapsedTimer clock;
    clock.start();
    m_questionAsked = false;
    QProgressDialog* progress = nullptr;
    QTimer poll;
    poll.setInterval(std::min(50, m_progressDelay));
    const auto tick = [&] {
        // A progress window opened now would come up over the question and, being
        // modal, block it: the user could not answer.
        if (!m_openQuestions.empty())
            return;
        if (m_questionAsked) {
            // Time spent answering is the user's, not the work's.
            m_questionAsked = false;
            clock.restart();
        }
        if (m_runProgress) {
            const auto [index, bytesDone] = report.position();
            m_runProgress(index, bytesDone);
            return;
        }
        if (!progress && showProgress && !finished.load() && clock.elapsed() >= m_progressDelay) {
            progress = new QProgressDialog(fromUtf8(title),
                fromUtf8(platform::translate("operation_texts", "キャンセル")), 0, 1000,
                topLevelWindow(owner));
            progress->setWindowTitle(QStringLiteral("Quorvane"));
            progress->setWindowModality(Qt::ApplicationModal);
            progress->setAutoReset(false);
            progress->setAutoClose(false);
            progress->setMinimumDuration(0);
            QObject::connect(progress, &QProgressDialog::canceled, [&] { report.cancel(); });
            progress->show();
            m_progress = progress;
            if (onProgressShown)
                onProgressShown(*progress);
            loop.exit(); // go on with user input let through to the modal window
        }
        if (progress) {
            QString name;
            progress->setValue(report.permille(name));
            progress->setLabelText(name.isEmpty() ? fromUtf8(title)
                                                  : fromUtf8(title) + QLatin1Char('\n') + name);
        }
    };
    QObject::connect(&poll, &QTimer::timeout, tick);
    poll.start();
    if (showProgress && m_progressDelay == 0)
        QMetaObject::invokeMethod(&poll, tick, Qt::QueuedConnection);

    while (!finished.load()) {
        // Before the progress window is up nothing may reach the program's windows;
        // afterwards the modal progress window keeps them out by itself. A run has
        // locked its inputs and keeps its cancel and close in reach.
        loop.exec(progress || m_runProgress ? QEventLoop::AllEvents
                                            : QEventLoop::ExcludeUserInputEvents);
    }
    worker.join();
    poll.stop();
    m_progress = nullptr;
    delete progress;
}

} // namespace platform
