#include "run/CollectionRun.h"

#include "platform/ErrorCodes.h"
#include "platform/EventPump.h"
#include "platform/MemoryTuning.h"
#include "platform/MessageBox.h"
#include "platform/OperationWindow.h"
#include "platform/TextCompare.h"
#include "platform/Utf8Boundary.h"
#include "run/DestPlanner.h"
#include "run/NameFitting.h"
#include "run/NameRules.h"
#include "run/RunTexts.h"
#include "run/TakenNames.h"
#include "toolkit/clsFileFolder.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <string_view>
#include <utility>
#include <vector>

namespace run {

namespace {

// A call that has not returned for this long is named in the run window: on a share
// an ordinary call takes milliseconds.
constexpr auto kLongCall = std::chrono::seconds(1);

} // namespace

// The idle state comes back however the run ends: a failed check, an early return,
// a cancel or an unexpected error.
class CollectionRun::EndOfRun {
public:
    explicit EndOfRun(CollectionRun& run) : m_run(run) {}
    ~EndOfRun()
    {
        m_run.m_window.setExitCaption(texts::close());
        m_run.m_window.setStartEnabled(true);
        m_run.m_window.setInputsEnabled(true);
        m_run.m_window.setBusyPointer(false);
        m_run.m_services.operations.setRunProgress({});
        if (!m_run.m_journal.close() && m_run.m_report.notice.empty())
            m_run.m_report.notice
                = platform::translate("run", "処理の記録を書けなかったため、この処理は元に戻せません。");
        m_run.m_report.waitingFor.clear(); // nothing holds an ended run up
        m_run.m_report.ended = true;
        m_run.m_report.finished = std::chrono::steady_clock::now();
        m_run.m_running = false;
    }
    EndOfRun(const EndOfRun&) = delete;
    EndOfRun& operator=(const EndOfRun&) = delete;

private:
    CollectionRun& m_run;
};

CollectionRun::CollectionRun(RunWindow& window, clsFileFolder& objFileFolder,
                             platform::UserServices services)
    : m_window(window), objFileFolder(objFileFolder), m_services(services)
{
}

WindowAction CollectionRun::cmdStartClick()
{
    if (m_running)
        return WindowAction::StayOpen;
    return guardedRun(&CollectionRun::runSteps);
}

WindowAction CollectionRun::guardedRun(void (CollectionRun::*steps)())
{
    m_running = true;
    m_closeRequested = false;
    m_stopAsked = false;
    m_stopNow = false;
    m_runThread = std::this_thread::get_id();
    m_search.folders = 0;
    m_search.files = 0;
    bool failed = false;
    try {
        const EndOfRun endOfRun(*this);
        (this->*steps)();
    } catch (const std::exception&) {
        failed = true;
    }
    if (failed)
        m_services.messages.showMessage(texts::unexpectedError());
    const bool closing = std::exchange(m_closeRequested, false);
    if (m_monitor)
        m_monitor->runEnded(m_report, closing);
    return closing ? WindowAction::Close : WindowAction::StayOpen;
}

WindowAction CollectionRun::cmdExitClick()
{
    if (m_window.exitCaption() == texts::cancel()) {
        cancelClick();
        return WindowAction::StayOpen;
    }
    if (m_running) {
        requestClose();
        return WindowAction::StayOpen;
    }
    return WindowAction::Close;
}

void CollectionRun::cancelClick()
{
    // A delete or trash goes on on its own thread while the message is up: it stops
    // now, not after the message, which offers nothing but OK.
    m_stopNow = true;
    m_services.messages.showMessage(texts::stopping());
    blnCancel = true;
    m_stopAsked = true;
}

void CollectionRun::requestClose()
{
    if (!m_running)
        return;
    blnCancel = true;
    m_stopAsked = true;
    m_stopNow = true;
    m_closeRequested = true;
    // A question of the operation in progress would hold the close up until answered.
    m_services.operations.answerOpenQuestions();
}

void CollectionRun::runSteps()
{
    blnCancel = false;
    m_window.setBusyPointer(true);
    // Taken once, with the inputs locked until the run ends: whatever is clicked or
    // typed while it works, it does what was asked when it started. Locked before
    // 実行 is disabled, so that the window still knows where the focus was.
    m_inputs = m_fixedInputs ? *m_fixedInputs
                             : RunInputs{m_window.sourceFolderText(), m_window.destFolderText(),
                                         m_window.fileTypesText(), m_window.selectedOperation()};
    m_window.setInputsEnabled(false);
    m_window.setStartEnabled(false);
    m_lastYield = std::chrono::steady_clock::now();
    m_report = RunReport{};
    m_sourceTraits.reset();
    m_report.operation = m_inputs.operation;
    m_report.destFolder = m_inputs.destFolder;
    m_report.started = m_lastYield;
    // The run's window shows the progress within a large file; no second window opens.
    // Called on this thread, also while the worker works for the run.
    m_services.operations.setRunProgress([this](std::size_t index, std::uint64_t bytesDone) {
        if (m_report.operation == Operation::Delete || m_report.operation == Operation::Recycle) {
            m_report.filesFinished = std::min(index, m_report.files.size());
        } else {
            if (bytesDone != m_report.currentBytesDone)
                m_pending.progressed(); // bytes arrive: the copy is not stuck
            m_report.currentBytesDone = bytesDone;
        }
        progressed();
    });
    if (m_monitor)
        m_monitor->runStarted(m_report);

    if (!CheckSourceFolder(m_inputs.sourceFolder))
        return;
    if (!ParseFileTypes(m_inputs.fileTypes))
        return;
    // A stop asked while the check waited on the source: nothing was found yet.
    if (m_stopNow) {
        m_report.stopped = true;
        return;
    }
    m_search.reading = &m_pending;
    m_search.stop = &m_stopNow;
    offThread(m_inputs.sourceFolder, [this] {
        // Where every read is a round trip, many folders are read at once: as many as the
        // files a copy keeps in flight there.
        const platform::FileSystemTraits& source = sourceFileSystem();
        m_search.foldersAtOnce = source.roundTrips ? platform::filesInFlight(source, source) : 1;
        objFileFolder.SFilePath(m_inputs.sourceFolder, &m_search);
        strSrcFiles = objFileFolder.takeSFileList();
        lngLastIndex = objFileFolder.SFilePathCount();
    });
    m_report.searched = true;
    // A search stopped half-way found only part of the tree: nothing may be done to it.
    if (m_search.stopped) {
        m_report.stopped = true;
        return;
    }
    if (lngLastIndex == 0)
        return;
    const bool filterDone = FilterByFileType();

    const Operation operation = m_inputs.operation;
    if (operation == Operation::Copy || operation == Operation::Move) {
        if (!CheckDestFolder(m_inputs.destFolder))
            return;
        m_window.setExitCaption(texts::cancel());
        PlanDestPaths();
        platform::returnFreedMemory(); // the bare names, before the report is built
        if (blnCancel || m_stopNow) {
            m_report.stopped = true;
            return;
        }
        recordPlan(true);
        if (m_skipIdentical)
            markTwins();
        m_report.destinationNeeded = m_bytesNeeded;
        if (m_destinationSpace)
            m_report.destinationFree = m_destinationSpace->availableBytes;
        if (m_planCheck && !m_dryRun && !m_planCheck(m_report))
            return;
        if (!destinationHasRoom() || m_dryRun)
            return;
        openJournal(false);
        copyOrMoveLoop(operation);
        return;
    }
    // A filter stopped half-way leaves the whole search result in the list; deleting
    // that would delete files the user never chose.
    if (!filterDone || blnCancel)
        return;
    recordPlan(false);
    if (m_dryRun)
        return;
    if (m_planCheck && !m_planCheck(m_report))
        return;
    openJournal(false);
    if (!JoinFileList())
        return;
    if (operation == Operation::Delete)
        deleteFiles();
    else
        recycleFiles();
}

bool CollectionRun::isEmptyInput(const std::string& text, const std::string& message,
                                 InputField field)
{
    if (!text.empty())
        return false;
    m_services.messages.showMessage(message);
    m_window.focusField(field);
    return true;
}

bool CollectionRun::CheckSourceFolder(const std::string& text)
{
    if (isEmptyInput(text, texts::noSourceFolder(), InputField::SourceFolder))
        return false;
    const bool exists = folderExists(text);
    // Asked to stop while the look waited on a share: nothing more to say.
    if (m_stopNow)
        return false;
    if (!exists) {
        m_services.messages.showMessage(texts::sourceFolderMissing());
        return false;
    }
    return true;
}

bool CollectionRun::ParseFileTypes(const std::string& text)
{
    if (isEmptyInput(text, texts::noFileTypes(), InputField::FileTypes))
        return false;
    // Every item is followed by a ",", so the split always ends with an empty item,
    // which the filter leaves out.
    const std::string items = text.back() == ',' ? text : text + ',';
    strFileTypes.clear();
    std::size_t begin = 0;
    for (std::size_t comma; (comma = items.find(',', begin)) != std::string::npos; begin = comma + 1)
        strFileTypes.push_back(items.substr(begin, comma - begin));
    strFileTypes.push_back(items.substr(begin));
    return true;
}

bool CollectionRun::CheckDestFolder(const std::string& text)
{
    // The user asked to stop (or to close) while the tree was searched and filtered:
    // telling them now that a box is empty would only hold up the close.
    if (m_stopAsked)
        return false;
    if (isEmptyInput(text, texts::noDestFolder(), InputField::DestFolder))
        return false;
    if (blnCancel)
        return false;
    const bool exists = folderExists(text);
    if (m_stopNow)
        return false;
    if (exists)
        return true;
    if (m_dryRun) {
        m_report.destinationMissing = true; // planned as an empty folder
        return true;
    }
    if (!m_services.messages.askYesNo(texts::createFolderQuestion()))
        return false;
    std::int32_t made = 0;
    offThread(text, [&] { made = objFileFolder.CreateFolder(text); });
    if (m_stopNow)
        return false;
    switch (made) {
    case platform::kErrorNone:
        return true;
    case platform::kErrorAlreadyExists:
        m_services.messages.showMessage(texts::folderAlreadyExists());
        return false;
    default:
        // Access refused, a full disk and the like are failures the user must hear of,
        // not only a missing parent.
        m_services.messages.showMessage(texts::createFolderFailed());
        return false;
    }
}

bool CollectionRun::FilterByFileType()
{
    // The kept entries are gathered as indices first, so that each path is moved into
    // the kept list (copied only when two items keep it): a large tree's paths are
    // never held twice.
    std::vector<std::int32_t> keptIndex;
    std::vector<std::uint8_t> timesKept(static_cast<std::size_t>(std::max(lngLastIndex, 0)));
    const std::size_t itemCount = strFileTypes.empty() ? 0 : strFileTypes.size() - 1;
    for (std::size_t e = 0; e < itemCount; ++e) {
        const std::string& item = strFileTypes[e];
        const std::size_t itemLength = platform::characterCount(item);
        for (std::int32_t p = 0; p < lngLastIndex; ++p) {
            yieldWhenDue();
            if (blnCancel)
                return false;
            const std::string_view path = strSrcFiles[static_cast<std::size_t>(p)];
            const std::string_view tail = path.substr(platform::startOfLastCharacters(path, itemLength));
            if (m_services.text.equalIgnoringCase(tail, item)) {
                keptIndex.push_back(p);
                std::uint8_t& times = timesKept[static_cast<std::size_t>(p)];
                times = static_cast<std::uint8_t>(std::min(times + 1, 255)); // 255: always copied
            }
        }
    }
    PathList kept;
    kept.reserve(std::max<std::size_t>(keptIndex.size(), 1));
    for (const std::int32_t p : keptIndex) {
        std::string& path = strSrcFiles[static_cast<std::size_t>(p)];
        std::uint8_t& times = timesKept[static_cast<std::size_t>(p)];
        if (times == 1)
            kept.push_back(std::move(path));
        else
            kept.push_back(path);
        if (times < 255)
            --times;
    }
    if (kept.empty()) {
        blnCancel = true;
        kept.emplace_back();
        lngLastIndex = 0;
    } else {
        lngLastIndex = static_cast<std::int32_t>(kept.size() - 1);
    }
    strSrcFiles = std::move(kept);
    return true;
}

void CollectionRun::PlanDestPaths()
{
    std::string folder = m_inputs.destFolder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    // A name the destination's file system cannot hold gets one it can, before the
    // numbering, so that two names fitted to one are numbered like any others.
    offThread(folder, [&] {
        m_destinationTraits = m_fileSystemOf ? m_fileSystemOf(folder) : platform::fileSystemOf(folder);
    });
    // The names are planned bare, and given the folder once they are final: a million
    // short names and the plan's index take less room than a million paths would.
    // The plan looks the names up all over the list.
    strDestFiles = PathList();
    platform::reserveOnLargePages(strDestFiles, static_cast<std::size_t>(lngLastIndex) + 1);
    strDestFiles.assign(static_cast<std::size_t>(lngLastIndex) + 1, std::string());
    for (std::int32_t j = 0; j <= lngLastIndex; ++j) {
        yieldWhenDue();
        const std::string_view source = strSrcFiles[static_cast<std::size_t>(j)];
        const std::string_view name = source.substr(source.rfind('/') + 1);
        strDestFiles[static_cast<std::size_t>(j)] = m_destinationTraits.windowsNames ? fitWindowsName(name) : name;
    }
    m_destinationFoldsCase = destinationFoldsCase(folder);
    // The plan looks at the destination for every name it gives: on the worker.
    offThread(folder, [&] {
        // Reading the folder pays off only when many names are asked about.
        constexpr std::int32_t kNamesWorthReadingFolder = 256;
        const TakenNames taken(folder, m_destinationFoldsCase, lngLastIndex >= kNamesWorthReadingFolder);
        NameRules rules = destinationRules();
        rules.isTaken = [&taken](const std::string& name) { return taken.isNameTaken(name); };
        DestPlanner planner(std::move(rules), [this] { return keepGoing(); });
        planner.plan(strDestFiles, lngLastIndex);
    });
    platform::returnFreedMemory(); // the index, before the paths take its place
    for (std::int32_t j = 0; j <= lngLastIndex; ++j) {
        yieldWhenDue();
        std::string& dest = strDestFiles[static_cast<std::size_t>(j)];
        std::string path;
        path.reserve(folder.size() + dest.size());
        path.append(folder).append(dest);
        dest = std::move(path);
    }
}

bool CollectionRun::destinationFoldsCase(const std::string& folder)
{
    switch (m_destinationTraits.caseFolding) {
    case platform::CaseFolding::Keeps:
        return false;
    case platform::CaseFolding::Folds:
        return true;
    case platform::CaseFolding::Unknown:
        break;
    }
    // Only a file made there can tell. A dry run writes nothing: it plans as a folding
    // destination would be planned, which never gives a name the run cannot use, and
    // says so. A run makes the probe only where its answer changes the plan.
    if (m_dryRun) {
        addNotice(texts::caseFoldingAssumed());
        return true;
    }
    if (m_assumeCaseFolding)
        return true;
    if (!namesDifferOnlyInCase(strDestFiles, lngLastIndex))
        return false;
    bool folds = false;
    offThread(folder, [&] { folds = m_caseFoldingProbe ? m_caseFoldingProbe(folder) : folderFoldsCase(folder); });
    return folds;
}

void CollectionRun::addNotice(const std::string& notice)
{
    if (!m_report.notice.empty())
        m_report.notice += '\n';
    m_report.notice += notice;
}

NameRules CollectionRun::destinationRules() const
{
    NameRules rules{entryExists, nullptr, fileNameStemEnd};
    if (m_destinationFoldsCase)
        rules.nameKey = caseFoldedKey;
    if (m_destinationTraits.windowsNames)
        rules.nameLength = NameLength::Utf16Units;
    return rules;
}

bool CollectionRun::JoinFileList()
{
    std::string joined;
    // The report holds the kept paths by now (see recordPlan).
    for (const FileRecord& file : m_report.files) {
        if (file.outcome == FileOutcome::Skipped)
            continue;
        joined += file.source;
        joined += '\0';
    }
    if (joined.empty())
        return false;
    strSrcFiles = PathList{std::move(joined)};
    return true;
}

void CollectionRun::progressed()
{
    noteSearchAndWait();
    if (m_monitor)
        m_monitor->runProgressed(m_report);
}

void CollectionRun::noteSearchAndWait()
{
    m_report.foldersSearched = static_cast<std::uint64_t>(m_search.folders.load(std::memory_order_relaxed));
    m_report.filesFound = static_cast<std::uint64_t>(m_search.files.load(std::memory_order_relaxed));
    // Once the user asked to stop, the run waits only for the call in flight: say which.
    const std::optional<platform::PendingCall::State> call = m_pending.current();
    if (call && (m_stopNow || platform::PendingCall::Clock::now() - call->since >= kLongCall)) {
        if (m_report.waitingFor != call->path)
            m_report.waitingFor = call->path;
    } else {
        m_report.waitingFor.clear();
    }
}

std::optional<std::string> CollectionRun::stalledOn(std::chrono::nanoseconds quiet) const
{
    if (!m_running)
        return std::nullopt;
    const std::optional<platform::PendingCall::State> call = m_pending.current();
    if (!call || platform::PendingCall::Clock::now() - call->since < quiet)
        return std::nullopt;
    return call->path;
}

void CollectionRun::offThread(std::string_view about, const std::function<void()>& work)
{
    std::exception_ptr failure;
    m_pending.begin(about);
    m_services.operations.runWithProgress(0, {}, false, [&](platform::ProgressReport&) {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        m_pending.end();
    });
    if (failure)
        std::rethrow_exception(failure);
}

bool CollectionRun::keepGoing()
{
    // On the worker the window is live by itself; the stop comes as m_stopNow, which
    // is set the moment キャンセル or the close is clicked.
    if (std::this_thread::get_id() != m_runThread) {
        // Work between calls (a long plan's numbering) is progress too, not a stalled
        // call; told now and then, since telling costs a lock.
        constexpr std::uint32_t kStepsPerProgress = 1024;
        if (++m_stepsOffThread % kStepsPerProgress == 0)
            m_pending.progressed();
        return !m_stopNow.load(std::memory_order_relaxed);
    }
    yieldWhenDue();
    return !blnCancel;
}

bool CollectionRun::folderExists(const std::string& path)
{
    bool exists = false;
    offThread(path, [&] { exists = objFileFolder.FolderExist(path); });
    return exists;
}

void CollectionRun::yieldWhenDue()
{
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastYield < m_yieldInterval)
        return;
    progressed();
    m_services.events.yield();
    m_lastYield = std::chrono::steady_clock::now();
}

} // namespace run
