// Undo of the last run, from its journal: a run of its own, with the run window, the
// cancel button and a journal, working through what the journal says was done.
#include "platform/MessageBox.h"
#include "platform/OperationWindow.h"
#include "platform/TextCatalog.h"
#include "platform/TrashRestore.h"
#include "run/CollectionRun.h"
#include "run/RunReportText.h"
#include "run/RunTexts.h"
#include "run/Undo.h"
#include "toolkit/clsFileFolder.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <sys/stat.h>

namespace run {

std::optional<UndoOffer> CollectionRun::undoOffer()
{
    const std::string path = newestJournalPath(m_journalFolder);
    if (path != m_offerPath || path.empty()) {
        m_offerPath = path;
        m_offer.reset();
        if (const std::optional<Journal> journal = readJournal(path); journal && !journal->isUndo)
            m_offer = UndoOffer{journal->operation, journal->toUndo().size()};
    }
    return m_offer;
}

WindowAction CollectionRun::undoLastClick()
{
    if (m_running)
        return WindowAction::StayOpen;
    std::optional<Journal> journal = readJournal(newestJournalPath(m_journalFolder));
    if (!journal || journal->isUndo)
        return WindowAction::StayOpen;
    if (journal->operation == Operation::Delete) {
        m_services.messages.showMessage(texts::deleteCannotBeUndone());
        return WindowAction::StayOpen;
    }
    const std::size_t files = journal->toUndo().size();
    const int form = static_cast<int>(std::min<std::size_t>(files, INT_MAX)); // picks the plural
    const std::string question = platform::fillIn(
        platform::translate("run", "前回の処理（%1 %2 件）を元に戻しますか？", nullptr, form),
        { report_text::operationName(journal->operation), report_text::count(files) });
    if (!m_services.messages.askYesNoDefaultNo(question))
        return WindowAction::StayOpen;
    m_undoing = std::move(journal);
    const WindowAction action = guardedRun(&CollectionRun::undoSteps);
    m_undoing.reset();
    m_offerPath.clear();
    return action;
}

void CollectionRun::undoSteps()
{
    const Journal& journal = *m_undoing;
    blnCancel = false;
    m_window.setBusyPointer(true);
    m_window.setInputsEnabled(false);
    m_window.setStartEnabled(false);
    m_window.setExitCaption(texts::cancel());
    m_lastYield = std::chrono::steady_clock::now();
    m_report = RunReport{};
    m_report.operation = journal.operation;
    m_report.undo = true;
    m_report.started = m_lastYield;
    m_services.operations.setRunProgress([this](std::size_t, std::uint64_t bytesDone) {
        m_report.currentBytesDone = bytesDone;
        progressed();
    });
    if (m_monitor)
        m_monitor->runStarted(m_report);

    // Each file goes from where the run left it back to where it was.
    const std::vector<const JournalEntry*> entries = journal.toUndo();
    for (const JournalEntry* entry : entries) {
        FileRecord& file = m_report.files.emplace_back();
        const bool placed = journal.operation != Operation::Recycle;
        file.source = placed ? entry->dest : entry->source;
        file.dest = journal.operation == Operation::Copy ? std::string() : entry->source;
        file.bytes = entry->bytes;
        m_report.bytesTotal += file.bytes;
    }
    // Times on the destination are compared as finely as its file system keeps them.
    if (!entries.empty() && journal.operation != Operation::Recycle) {
        const std::string folder = entries.front()->dest.substr(0, entries.front()->dest.rfind('/'));
        offThread(folder, [&] { m_destinationTraits = m_fileSystemOf ? m_fileSystemOf(folder) : platform::fileSystemOf(folder); });
    }
    openJournal(true);
    // Trashed files are looked for among what was trashed since the run began, in every
    // trash there is, some of which may be on shares.
    std::unique_ptr<platform::TrashRestore> trash;
    if (journal.operation == Operation::Recycle) {
        const std::string about = entries.empty() ? std::string() : entries.front()->source;
        offThread(about, [&] { trash = std::make_unique<platform::TrashRestore>(journal.startedSeconds - 1); });
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        yieldWhenDue();
        if (blnCancel)
            break;
        FileRecord& file = m_report.files[i];
        undoOne(file, *entries[i], trash.get());
        if (file.outcome == FileOutcome::Done)
            m_journal.write({JournalEntry::Kind::Done, file.source.str(), file.dest.str(), file.bytes});
        ++m_report.filesFinished;
        m_report.bytesFinished += file.bytes;
        m_report.currentBytesDone = 0;
    }
    m_report.stopped = blnCancel;
}

void CollectionRun::undoOne(FileRecord& file, const JournalEntry& entry, platform::TrashRestore* trash)
{
    const platform::FileSystemTraits& traits = m_destinationTraits;
    // A change time derived from settable times proves nothing: the content is compared.
    const undo::Recorded recorded{entry.bytes, entry.mtimeNanoseconds,
                                  traits.keepsChangeTimes ? entry.changeNanoseconds : 0, entry.inode,
                                  traits.timeResolutionNanoseconds > 1 ? traits.timeResolutionNanoseconds : 0};
    if (m_report.operation == Operation::Delete)
        return;
    // Each file's checks and its move back are calls into the file system: on the worker,
    // but for a move between file systems, which is the engine's own operation.
    undo::Result result;
    bool across = false;
    offThread(file.source.str(), [&] {
        switch (m_report.operation) {
        case Operation::Copy:
            result = undo::removeCopy(entry.dest, entry.source, recorded,
                                      {entry.bytes, 0, entry.sourceChangeNanoseconds, entry.sourceInode});
            break;
        case Operation::Move:
            // A copy whose source a killed run had not yet removed: the source stays.
            if (entry.kind == JournalEntry::Kind::Copied)
                result = undo::removeCopy(entry.dest, entry.source, recorded,
                                          {entry.bytes, 0, entry.sourceChangeNanoseconds, entry.sourceInode});
            else
                result = undo::moveBack(entry.dest, entry.source, recorded, across);
            break;
        case Operation::Recycle:
            result = undo::restoreFromTrash(*trash, entry.source);
            break;
        case Operation::Delete:
            break;
        }
    });
    if (across)
        result = undo::movedAcross(objFileFolder.RunOperation(platform::FileOperationCode::Move, entry.dest,
                                                              entry.source, {.neverReplace = true}));
    file.outcome = result.done ? FileOutcome::Done : FileOutcome::Failed;
    file.reason = std::move(result.reason);
}

} // namespace run
