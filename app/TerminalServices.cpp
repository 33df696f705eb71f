#include "app/TerminalServices.h"

#include "platform/OperationTexts.h"

#include <QString>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <unistd.h>
#include <utility>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void noteInterrupt(int)
{
    g_interrupted = 1;
}

// QUORVANE_INTERRUPT_AT=N and QUORVANE_KILL_AT=N: an interrupt, or a SIGKILL as a crash
// would end the program, arrives as the N-th file of the run (from 1) has begun to be
// written. Lets tests stop a run in the middle of a file.
std::size_t fileNumberFrom(const char* variable)
{
    const char* text = std::getenv(variable);
    return text ? static_cast<std::size_t>(std::strtoul(text, nullptr, 10)) : 0;
}

} // namespace

void TerminalServices::catchInterrupts()
{
    struct sigaction action {};
    action.sa_handler = noteInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool TerminalServices::interrupted()
{
    return g_interrupted != 0;
}

void TerminalServices::showMessage(const std::string& text)
{
    ++m_messages;
    std::fprintf(stderr, "%s\n", text.c_str());
}

bool TerminalServices::askYesNo(const std::string& text)
{
    return m_yes || askOnTerminal(text);
}

bool TerminalServices::askYesNoUnassumed(const std::string& text)
{
    return askOnTerminal(text);
}

bool TerminalServices::askOnTerminal(const std::string& text)
{
    std::fprintf(stderr, "%s", text.c_str());
    if (!::isatty(STDIN_FILENO)) {
        std::fprintf(stderr, " [y/N] n\n");
        ++m_declined;
        return false;
    }
    std::fprintf(stderr, " [y/N] ");
    std::string answer;
    std::getline(std::cin, answer);
    if (answer == "y" || answer == "Y" || answer == "yes")
        return true;
    ++m_declined;
    return false;
}

void TerminalServices::yield()
{
    if (interrupted() && onInterrupt)
        std::exchange(onInterrupt, nullptr)();
}

bool TerminalServices::equalIgnoringCase(std::string_view left, std::string_view right)
{
    // The window's comparison, so that both find the same files.
    return QString::fromUtf8(left.data(), static_cast<qsizetype>(left.size()))
               .compare(QString::fromUtf8(right.data(), static_cast<qsizetype>(right.size())), Qt::CaseInsensitive)
        == 0;
}

void TerminalServices::runWithProgress(std::uint64_t, const std::string&, bool,
                                       const std::function<void(platform::ProgressReport&)>& work)
{
    work(*this);
}

std::size_t TerminalServices::choose(std::uint64_t, const std::string& text, const std::vector<std::string>& buttons,
                                     std::size_t escapeIndex)
{
    // A yes/no question (trash, a folder to make) is asked; anything else (an error
    // with スキップ and 中止) is reported and answered with its safe button.
    if (buttons == platform::operation_texts::yesNoButtons())
        return askYesNo(text) ? 0 : escapeIndex;
    showMessage(text);
    return escapeIndex;
}

void TerminalServices::beginItem(std::size_t index, std::size_t, const std::string&, std::uint64_t)
{
    m_index = index;
    m_bytesDone = 0;
    ++m_itemsBegun;
    if (m_progress)
        m_progress(m_index, 0);
}

void TerminalServices::addBytes(std::uint64_t bytes)
{
    m_bytesDone += bytes;
    static const std::size_t interruptAt = fileNumberFrom("QUORVANE_INTERRUPT_AT");
    static const std::size_t killAt = fileNumberFrom("QUORVANE_KILL_AT");
    if (m_itemsBegun == killAt)
        std::raise(SIGKILL);
    if (m_itemsBegun == interruptAt && !interrupted())
        std::raise(SIGINT);
    if (m_progress)
        m_progress(m_index, m_bytesDone);
}
