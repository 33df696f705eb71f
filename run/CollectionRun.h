#pragma once

#include "platform/FileSystemTraits.h"
#include "platform/PendingCall.h"
#include "platform/UserServices.h"
#include "run/Journal.h"
#include "run/NameRules.h"
#include "run/RunReport.h"
#include "run/RunWindow.h"
#include "toolkit/PathList.h"
#include "toolkit/SearchProgress.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

class clsFileFolder;

namespace platform {
struct FileOperationOutcome;
class PreparedCopy;
class TrashRestore;
}

namespace run {

namespace undo {
struct Recorded;
}

/// What the main window does after handing a click to the run.
enum class WindowAction { StayOpen, Close };

/// What the menu's undo entry offers: the last run, and how many files it did.
struct UndoOffer {
    Operation operation = Operation::Copy;
    std::size_t files = 0;
};

class CopyAhead;

/// One collection run at a time: the checks of the inputs, the search, the filter by
/// extension, the plan of destination names and the copy, move, delete or recycle of
/// the kept files, with the cancel button. The main window owns one instance for its
/// whole life, next to its toolkit object, and forwards the two button clicks and its
/// close requests to it. The run's logic runs on the user-interface thread; it yields
/// to the event loop while it works, and the click handlers run nested in those yields.
/// Its calls into the file system (the checks, the search, the look at the destination,
/// the journal, the file operations) are made on the operations' worker while the
/// window stays live, so that a share that does not answer never freezes it.
class CollectionRun {
public:
    /// `objFileFolder` is the main window's toolkit object; it must outlive the run.
    CollectionRun(RunWindow& window, clsFileFolder& objFileFolder,
                  platform::UserServices services);

    /// The click on cmdStart: one whole run, from the checks to the restored idle
    /// state. Returns Close when the window was asked to close during the run; the
    /// window then closes, now that the run has ended.
    WindowAction cmdStartClick();

    /// The click on cmdExit. Reading "キャンセル": tells the user that the work is
    /// being stopped, sets the cancel flag and returns StayOpen. Otherwise Close,
    /// unless a run is active (its first steps leave the caption at "閉じる"): the
    /// close is then deferred as with requestClose().
    WindowAction cmdExitClick();

    /// キャンセル: tells the user that the work is being stopped and stops it between
    /// two files. For the run window's button, which reads キャンセル from the start.
    void cancelClick();

    /// True from the first step of a run until its end-of-run steps have been done.
    bool isRunning() const { return m_running; }
    /// True once a close was asked for during the active run.
    bool isClosing() const { return m_running && m_closeRequested; }
    /// The file or folder that a call into the file system of the active run is about,
    /// when that call has gone `quiet` without returning or moving on; none otherwise.
    std::optional<std::string> stalledOn(std::chrono::nanoseconds quiet) const;

    /// Asks an active run to stop as the cancel button does, and makes
    /// cmdStartClick() return Close once the run has ended. For a close request the
    /// window receives while isRunning(); it keeps the window open until then.
    void requestClose();

    /// How long the run works between two yields to the event loop. Zero makes it
    /// yield at every step that may yield (tests act at a chosen yield).
    void setYieldInterval(std::chrono::nanoseconds interval) { m_yieldInterval = interval; }

    /// The undo entry of the menu: asks whether to undo the last run (a delete for good
    /// cannot be undone, and says so), then undoes it as a run of its own, with the
    /// run window, the cancel button and a journal. Returns as cmdStartClick() does.
    WindowAction undoLastClick();
    /// The last run, when it can be offered for undo: it has a journal and is not an
    /// undo itself. Read again only when the journal has changed.
    std::optional<UndoOffer> undoOffer();
    /// A dry run does the checks, the search, the filter and the plan, and stops there:
    /// nothing is written, and a missing destination folder is neither asked about nor
    /// made. The report then holds the plan.
    void setDryRun(bool dryRun) { m_dryRun = dryRun; }
    /// A copy or move leaves a file whose bytes the destination already holds, in a
    /// file that was there or one the run placed before it: compared by size, then by
    /// hash, and byte for byte before the file is left. A twin's source is never
    /// removed. Off by default.
    void setSkipIdentical(bool skip) { m_skipIdentical = skip; }
    /// The runs from now on work on these inputs instead of reading the window's boxes;
    /// none goes back to the boxes. A run of what a preview showed keeps to its inputs
    /// whatever was typed since.
    void setFixedInputs(std::optional<RunInputs> inputs) { m_fixedInputs = std::move(inputs); }
    /// The inputs of the run in progress, or of the last one.
    const RunInputs& inputs() const { return m_inputs; }
    /// Where the destination's file system cannot tell whether it folds letter case, a
    /// run plans as for one that folds, as a dry run does, and makes no probe: the run
    /// of a preview then places the names the preview showed.
    void setAssumeCaseFolding(bool assume) { m_assumeCaseFolding = assume; }
    /// Asked once the plan is made, before anything is written or journaled; false stops
    /// the run there. None by default.
    void setPlanCheck(std::function<bool(const RunReport& plan)> check) { m_planCheck = std::move(check); }

    /// Where journals are written; journalFolder() by default.
    void setJournalFolder(std::string folder) { m_journalFolder = std::move(folder); }

    /// The window that follows runs; none by default. It must outlive the run.
    void setMonitor(RunMonitor* monitor) { m_monitor = monitor; }
    /// The plan and outcome of the run in progress, or of the last one.
    const RunReport& report() const { return m_report; }

    /// Replaces the probe file that tells whether a destination folder treats names
    /// that differ only in letter case as one name. A run asks it only where its file
    /// system cannot tell, and only when two planned names differ only in letter case.
    void setCaseFoldingProbe(std::function<bool(const std::string& folder)> probe)
    {
        m_caseFoldingProbe = std::move(probe);
    }
    /// Called on the searching thread before each folder of the search is read: lets
    /// tests hold a listing up as a share that does not answer would.
    void setBeforeListing(std::function<void(const std::string& folder)> hook)
    {
        m_search.beforeReading = std::move(hook);
    }
    /// Replaces the look at the source's and the destination's file systems (platform::fileSystemOf).
    void setFileSystemLookup(std::function<platform::FileSystemTraits(const std::string& folder)> lookup)
    {
        m_fileSystemOf = std::move(lookup);
    }

private:
    class EndOfRun;
    class MoveBatch;

    WindowAction guardedRun(void (CollectionRun::*steps)());
    void runSteps();
    void undoSteps();
    void undoOne(FileRecord& file, const JournalEntry& entry, platform::TrashRestore* trash);
    void openJournal(bool isUndo);
    /// `placed`: how the placed file looked, when known without looking at it again.
    void journalDone(const FileRecord& file, const undo::Recorded* source,
                     const undo::Recorded* placed = nullptr);
    /// A move's copy placed on another file system, its source still there. Returns how
    /// the copy looked as it was placed, when that is known, for the journal's line once
    /// the source is gone.
    std::optional<undo::Recorded> journalCopied(const FileRecord& file,
                                                const platform::FileOperationOutcome& outcome);
    /// An empty input box: says so and sends the focus there.
    bool isEmptyInput(const std::string& text, const std::string& message, InputField field);
    bool CheckSourceFolder(const std::string& text);
    bool ParseFileTypes(const std::string& text);
    bool CheckDestFolder(const std::string& text);
    bool FilterByFileType();
    void PlanDestPaths();
    bool JoinFileList();
    void copyOrMoveLoop(Operation operation);
    platform::FileOperationOutcome copyOrMoveOne(Operation operation, const std::string& source,
                                                 std::string& dest, std::size_t index);
    void deleteFiles();
    void recycleFiles();
    void deleteListed();
    void recordPlan(bool withDestinations);
    void markTwins();
    /// The traits of the source's file system, looked up on the worker.
    platform::FileSystemTraits sourceTraits();
    /// How many files are read or written at once between the source and destination.
    std::size_t filesInFlight();
    /// The traits of the source's file system, looked up once a run and kept; off the
    /// window's thread only.
    const platform::FileSystemTraits& sourceFileSystem();
    /// Whether a planned-out twin is left: its bytes still match. False: it is to be copied.
    bool twinConfirmed(std::size_t index);
    bool destinationHasRoom();
    void finishRecord(FileRecord& file, const platform::FileOperationOutcome& outcome);
    void progressed();
    void noteSearchAndWait();
    /// Runs `work` on the operations' worker and returns once it has returned, while
    /// this thread keeps the window live; `about` names what it waits on meanwhile.
    /// Exceptions of the work are thrown again here.
    void offThread(std::string_view about, const std::function<void()>& work);
    /// Between two steps of work that may run on the worker: yields where the work runs
    /// on the run's own thread (a terminal, tests); false once the run is to stop.
    bool keepGoing();
    bool folderExists(const std::string& path);
    std::vector<FileRecord> planRecords(bool withDestinations, std::uint64_t& bytesTotal);

    NameRules destinationRules() const;
    bool destinationFoldsCase(const std::string& folder);
    void addNotice(const std::string& notice);
    std::string nextFreeName(const std::string& planned);
    void yieldWhenDue();

    RunWindow& m_window;
    clsFileFolder& objFileFolder;
    platform::UserServices m_services;

    // Run state; kept between runs, replaced step by step by each run.
    bool blnCancel = false;
    PathList strSrcFiles{std::string()};
    PathList strDestFiles{std::string()};
    PathList strFileTypes;
    std::int32_t lngLastIndex = 0;

    // What this run works on, read once as it starts.
    RunInputs m_inputs;
    RunReport m_report;
    RunMonitor* m_monitor = nullptr;
    std::string m_journalFolder = journalFolder();
    JournalWriter m_journal;
    std::optional<Journal> m_undoing; // the journal an undo works from
    std::string m_offerPath;          // the journal undoOffer() read last, and its answer
    std::optional<UndoOffer> m_offer;

    bool m_running = false;
    bool m_closeRequested = false;
    bool m_stopAsked = false; // by cancel or close; no further check speaks after it
    // Set with the first click of キャンセル or the close, for a delete or trash that
    // works on another thread: it stops between two files without waiting for the flag.
    std::atomic<bool> m_stopNow{false};
    bool m_destinationFoldsCase = false;
    platform::FileSystemTraits m_destinationTraits;
    std::optional<platform::FileSystemTraits> m_sourceTraits;
    std::optional<platform::FreeSpace> m_destinationSpace; // as the plan was recorded
    std::uint64_t m_bytesNeeded = 0; // in the destination, by whole allocation blocks
    bool m_dryRun = false;
    bool m_skipIdentical = false;
    bool m_assumeCaseFolding = false;
    std::optional<RunInputs> m_fixedInputs;
    std::function<bool(const RunReport& plan)> m_planCheck;
    CopyAhead* m_ahead = nullptr; // while files are copied or moved
    // A twin of a file this run places: its record, by the twin's record.
    std::unordered_map<std::size_t, std::size_t> m_earlierTwin;
    std::chrono::nanoseconds m_yieldInterval = std::chrono::milliseconds(20);
    std::chrono::steady_clock::time_point m_lastYield;
    std::function<bool(const std::string& folder)> m_caseFoldingProbe;
    std::function<platform::FileSystemTraits(const std::string& folder)> m_fileSystemOf;
    std::unordered_set<std::string> m_plannedKeys; // filled when a planned name is found taken
    std::unordered_map<std::string, std::int32_t> m_lastCounter; // per name found taken

    // Shared with the worker while it works for the run.
    platform::PendingCall m_pending; // the call the run waits on
    SearchProgress m_search;
    std::thread::id m_runThread;
    std::uint32_t m_stepsOffThread = 0; // counted by the worker only
};

} // namespace run
