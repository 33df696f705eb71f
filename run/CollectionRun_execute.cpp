// The second half of a run: copying or moving the kept files one by one, and deleting
// or recycling them in one operation.
#include "run/CollectionRun.h"

#include "platform/ErrorCodes.h"
#include "platform/ContentCompare.h"
#include "platform/FileOperationEngine.h"
#include "platform/HiddenCopies.h"
#include "platform/OperationWindow.h"
#include "platform/LongPath.h"
#include "platform/MemoryTuning.h"
#include "platform/MessageBox.h"
#include "run/CopyAhead.h"
#include "run/NameFitting.h"
#include "run/MoveBatch.h"
#include "run/NameRules.h"
#include "run/RunReportText.h"
#include "run/RunTexts.h"
#include "run/SourceLooks.h"
#include "run/TwinFinder.h"
#include "run/Undo.h"
#include "toolkit/clsFileFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace run {

void CollectionRun::copyOrMoveLoop(Operation operation)
{
    const platform::FileSystemTraits source = sourceTraits();
    // The sources of a move are removed as many at once as their file system takes.
    MoveBatch batch(*this, platform::filesInFlight(source, source));
    m_plannedKeys.clear();
    m_lastCounter.clear();
    // Files are written ahead, many at once, while this thread places them in turn.
    // Where the destination lacks the room for them all, nothing is written ahead: copies
    // waiting for their turn would take the room of the files before them, and the full
    // disk is to be met at the file it concerns.
    const bool roomForAll = !m_destinationSpace || m_bytesNeeded <= m_destinationSpace->availableBytes;
    const CopyAhead::Limits limits = roomForAll ? CopyAhead::limitsFor(platform::filesInFlight(source, m_destinationTraits))
                                                : CopyAhead::Limits{.workers = 0};
    std::optional<CopyAhead> started; // it opens the destination folder
    offThread(m_inputs.destFolder, [&] {
        started.emplace(m_report.files, m_inputs.destFolder, limits, operation == Operation::Move,
                        [this](std::size_t index) {
                            // A twin of a file placed by this run is compared once that is placed.
                            return m_earlierTwin.count(index) ? std::string() : m_report.files[index].reason.text();
                        });
    });
    CopyAhead& ahead = *started;
    m_ahead = &ahead;
    for (std::int32_t i = 0; i <= lngLastIndex; ++i) {
        yieldWhenDue();
        if (blnCancel)
            break;
        const auto index = static_cast<std::size_t>(i);
        ahead.advance(index);
        FileRecord& file = m_report.files[index];
        const std::string source = file.source.str();
        if (file.outcome == FileOutcome::Skipped && (!file.identical || twinConfirmed(index))) {
            // Planned out: the destination cannot hold it, or holds its bytes already.
        } else {
            std::string dest = file.dest.str();
            platform::FileOperationOutcome outcome = copyOrMoveOne(operation, source, dest, index);
            file.renamed = file.renamed || file.dest != dest;
            file.dest = std::move(dest);
            if (outcome.sourceLeft) {
                // Journaled at once: should the run be killed before its batch is done,
                // undo removes this copy while its source is still whole.
                const std::optional<undo::Recorded> placed = journalCopied(file, outcome);
                batch.add(index, std::move(*outcome.sourceLeft), placed);
            } else {
                finishRecord(file, outcome);
                // A source that looks the same before and after its copy was not written
                // meanwhile: the journal keeps how it looked, so that undo can tell the
                // copy still matches it without reading either.
                const std::optional<platform::CopiedFile>& copied = outcome.copied;
                const undo::Recorded before = copied ? undo::recordOf(copied->sourceBefore) : undo::Recorded{};
                const undo::Recorded after = copied ? undo::recordOf(copied->sourceAfter) : undo::Recorded{};
                const undo::Recorded placed = copied ? undo::recordOf(copied->copy) : undo::Recorded{};
                journalDone(file, copied && after == before ? &after : nullptr, copied ? &placed : nullptr);
            }
        }
        ++m_report.filesFinished;
        m_report.bytesFinished += file.bytes;
        m_report.currentBytesDone = 0;
        // The user chose "stop" in the operation's own error message or question.
        if (objFileFolder.stopRequested())
            blnCancel = true;
        batch.settleWhenDue();
    }
    m_ahead = nullptr;
    batch.settle();
    m_report.stopped = blnCancel;
}

platform::FileSystemTraits CollectionRun::sourceTraits()
{
    platform::FileSystemTraits source;
    offThread(m_inputs.sourceFolder, [&] { source = sourceFileSystem(); });
    return source;
}

std::size_t CollectionRun::filesInFlight()
{
    return platform::filesInFlight(sourceTraits(), m_destinationTraits);
}

const platform::FileSystemTraits& CollectionRun::sourceFileSystem()
{
    if (!m_sourceTraits)
        m_sourceTraits = m_fileSystemOf ? m_fileSystemOf(m_inputs.sourceFolder) : platform::fileSystemOf(m_inputs.sourceFolder);
    return *m_sourceTraits;
}

void CollectionRun::markTwins()
{
    // Reading files may take long on slow media: it is done on the operations' worker,
    // as a file operation is, while the window stays live.
    std::string folder = m_inputs.destFolder;
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    std::vector<Twin> twins;
    const std::size_t threads = filesInFlight();
    offThread(folder, [&] { twins = findTwins(m_report.files, folder, threads, &m_pending); });
    m_earlierTwin.clear();
    const std::uint64_t block = m_destinationSpace.value_or(platform::FreeSpace{}).blockBytes;
    for (const Twin& twin : twins) {
        FileRecord& file = m_report.files[twin.record];
        file.outcome = FileOutcome::Skipped;
        file.identical = true;
        file.reason = twin.existing.empty() ? m_report.files[twin.earlier].dest.str() : twin.existing;
        if (twin.existing.empty())
            m_earlierTwin[twin.record] = twin.earlier;
        if (m_inputs.operation == Operation::Copy)
            m_bytesNeeded -= std::min(m_bytesNeeded, (file.bytes + block - 1) / block * block);
    }
}

bool CollectionRun::twinConfirmed(std::size_t index)
{
    FileRecord& file = m_report.files[index];
    // A twin of a file this run placed is compared with that file where it really went.
    const auto earlier = m_earlierTwin.find(index);
    const bool earlierDone = earlier == m_earlierTwin.end()
        || m_report.files[earlier->second].outcome == FileOutcome::Done;
    const std::string matched = earlier != m_earlierTwin.end() ? m_report.files[earlier->second].dest.str()
                                                               : file.reason.text();
    // The hash only chose what to compare: the bytes decide, as they are now. Mostly
    // they were compared ahead; else the comparison is made, or waited for, off this
    // thread, as a file operation is.
    std::optional<CopyAhead::Compared> ahead = m_ahead ? m_ahead->comparedIfDone(index) : std::nullopt;
    bool same = false;
    if (earlierDone) {
        offThread(file.source, [&] {
            if (!ahead && m_ahead)
                ahead = m_ahead->awaitCompared(index);
            // Compared ahead, and neither file written since: nothing to read again.
            const bool stillSo = ahead && ahead->source && ahead->matched
                && CopyAhead::lookOf(file.source.str()) == ahead->source && CopyAhead::lookOf(matched) == ahead->matched;
            same = stillSo ? ahead->same : platform::sameContent(file.source.str(), matched);
        });
    }
    if (!same) {
        file.outcome = FileOutcome::NotDone;
        file.identical = false;
        file.reason = std::string();
        return false;
    }
    file.reason = matched;
    m_journal.write({JournalEntry::Kind::Identical, file.source.str(), matched, file.bytes});
    return true;
}

void CollectionRun::openJournal(bool isUndo)
{
    // Before the first file is touched: a run killed at any point leaves a journal.
    offThread(m_journalFolder, [&] {
        m_journal.open(m_journalFolder, m_report.operation, isUndo);
        const bool oneOperation = m_report.operation == Operation::Delete || m_report.operation == Operation::Recycle;
        if (oneOperation && !isUndo) {
            // All of them reach the system before the operation begins, in few writes.
            m_journal.hold();
            for (const FileRecord& file : m_report.files)
                if (file.outcome != FileOutcome::Skipped)
                    m_journal.write({JournalEntry::Kind::Planned, file.source.str(), {}, file.bytes});
            m_journal.release();
        }
    });
}

void CollectionRun::journalDone(const FileRecord& file, const undo::Recorded* source,
                                const undo::Recorded* placed)
{
    if (file.outcome != FileOutcome::Done)
        return;
    JournalEntry entry{JournalEntry::Kind::Done, file.source.str(), file.dest.str(), file.bytes};
    undo::Recorded looked;
    if (!placed && !file.dest.empty() && undo::recordOf(entry.dest, looked))
        placed = &looked;
    if (placed) {
        entry.bytes = placed->bytes;
        entry.mtimeNanoseconds = placed->mtimeNanoseconds;
        entry.changeNanoseconds = placed->changeNanoseconds;
        entry.inode = placed->inode;
    }
    if (source) {
        entry.sourceChangeNanoseconds = source->changeNanoseconds;
        entry.sourceInode = source->inode;
    }
    m_journal.write(entry);
}

std::optional<undo::Recorded> CollectionRun::journalCopied(const FileRecord& file,
                                                          const platform::FileOperationOutcome& outcome)
{
    JournalEntry entry{JournalEntry::Kind::Copied, file.source.str(), file.dest.str(), file.bytes};
    std::optional<undo::Recorded> placedLook;
    if (outcome.copied) {
        const undo::Recorded placed = undo::recordOf(outcome.copied->copy);
        placedLook = placed;
        entry.bytes = placed.bytes;
        entry.mtimeNanoseconds = placed.mtimeNanoseconds;
        entry.changeNanoseconds = placed.changeNanoseconds;
        entry.inode = placed.inode;
        const undo::Recorded before = undo::recordOf(outcome.copied->sourceBefore);
        if (before == undo::recordOf(outcome.copied->sourceAfter)) {
            entry.sourceChangeNanoseconds = before.changeNanoseconds;
            entry.sourceInode = before.inode;
        }
    }
    m_journal.write(entry);
    return placedLook;
}

void CollectionRun::recordPlan(bool withDestinations)
{
    // A look at every source, and at the destination: on the worker. The records are
    // made aside and handed to the report here, which the window reads meanwhile.
    std::vector<FileRecord> files;
    std::uint64_t bytesTotal = 0;
    offThread(m_inputs.sourceFolder, [&] { files = planRecords(withDestinations, bytesTotal); });
    m_report.files = std::move(files);
    m_report.bytesTotal += bytesTotal;
}

std::vector<FileRecord> CollectionRun::planRecords(bool withDestinations, std::uint64_t& bytesTotal)
{
    // The paths move into the report, which holds the plan from here on. They leave the
    // lists one list at a time, each path into a block of its own length, and each list
    // and the blocks its paths leave free are given back before the next list moves and
    // the records take room: a large plan is never held twice.
    const auto count = static_cast<std::size_t>(lngLastIndex) + 1;
    const auto takeAll = [count](PathList& list) {
        std::vector<PathText> taken;
        taken.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            taken.emplace_back(list[i]);
            std::string().swap(list[i]);
        }
        list = PathList{std::string()};
        platform::returnFreedMemory();
        return taken;
    };
    std::vector<PathText> sources = takeAll(strSrcFiles);
    std::vector<PathText> dests = withDestinations ? takeAll(strDestFiles) : std::vector<PathText>();
    strDestFiles = PathList{std::string()};
    std::vector<FileRecord> files;
    files.reserve(count);
    m_bytesNeeded = 0;
    const platform::FileSystemTraits& traits = m_destinationTraits;
    // What a run killed before it could clean up left in the destination is given back
    // before the room there is counted.
    if (withDestinations && !m_dryRun)
        platform::removeLeftOverCopies(m_inputs.destFolder);
    // Space is taken by whole blocks: many small files need more than their bytes.
    m_destinationSpace = withDestinations ? platform::freeSpaceOf(m_inputs.destFolder) : std::nullopt;
    const std::uint64_t block = m_destinationSpace.value_or(platform::FreeSpace{}).blockBytes;
    struct stat destination {};
    const bool destinationKnown = withDestinations && ::stat(m_inputs.destFolder.c_str(), &destination) == 0;
    // A file kept by two items is listed twice. Copying it twice makes two copies;
    // moving or deleting it a second time would only find it gone. One item keeps a
    // file once: no need to look.
    const bool mayRepeat = m_inputs.operation != Operation::Copy && strFileTypes.size() > 2; // the last is empty
    std::unordered_set<std::string_view> listed;
    // Where every look at a source is a round trip, many are made at once ahead of
    // this loop, which takes them in list order.
    std::optional<SourceLooks> ahead;
    if (sourceFileSystem().roundTrips)
        ahead.emplace(sources, platform::filesInFlight(sourceFileSystem(), traits));
    for (std::size_t i = 0; i < count; ++i) {
        m_pending.begin(sources[i]);
        const std::optional<SourceLook> look = ahead ? std::optional(ahead->await(i)) : std::nullopt;
        FileRecord& file = files.emplace_back();
        file.source = std::move(sources[i]);
        file.listedTwice = mayRepeat && !listed.insert(file.source).second;
        if (file.listedTwice) {
            file.outcome = FileOutcome::Skipped;
            file.reason = m_inputs.operation == Operation::Move ? texts::movedOnce() : texts::deletedOnce();
        }
        struct stat status {};
        // A file deeper than the longest path was found through its folders, but no
        // operation reaches it by its path: it is listed as not handled, never lost
        // from the report, and never taken for deleted because its path cannot be looked at.
        const bool tooLong = platform::isTooLongForOneCall(file.source.str());
        if (tooLong) {
            file.outcome = FileOutcome::Skipped;
            file.reason = texts::pathTooLong();
            const int descriptor = platform::openLongPath(file.source.str(), O_PATH | O_NOFOLLOW);
            if (descriptor >= 0 && ::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode))
                file.bytes = static_cast<std::uint64_t>(status.st_size);
            if (descriptor >= 0)
                ::close(descriptor);
        } else if (look) {
            file.bytes = look->bytes;
            status.st_dev = look->device;
        } else if (::stat(file.source.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
            file.bytes = static_cast<std::uint64_t>(status.st_size);
        }
        if (!withDestinations)
            continue;
        bytesTotal += file.bytes; // a delete goes by files, not bytes
        file.dest = std::move(dests[i]);
        const auto nameOf = [](std::string_view path) { return path.substr(path.rfind('/') + 1); };
        const std::string_view sourceName = nameOf(file.source);
        if (traits.windowsNames) {
            const std::string fittedName = fitWindowsName(sourceName);
            file.fitted = fittedName != sourceName;
            file.renamed = nameOf(file.dest) != fittedName;
        } else {
            file.renamed = nameOf(file.dest) != sourceName;
        }
        if (tooLong)
            continue;
        if (traits.largestFile != 0 && file.bytes > traits.largestFile) {
            file.outcome = FileOutcome::Skipped;
            file.reason = texts::tooLargeForDestination();
            continue;
        }
        // A move within the destination's file system takes no space.
        if (m_inputs.operation == Operation::Copy || !destinationKnown || status.st_dev != destination.st_dev)
            m_bytesNeeded += (file.bytes + block - 1) / block * block;
    }
    ahead.reset(); // its threads read the list
    std::vector<PathText>().swap(sources);
    std::vector<PathText>().swap(dests);
    platform::returnFreedMemory(); // the arrays the paths left
    return files;
}

bool CollectionRun::destinationHasRoom()
{
    const std::optional<platform::FreeSpace>& space = m_destinationSpace;
    if (!space || m_bytesNeeded <= space->availableBytes)
        return true;
    const std::string shortage = texts::notEnoughSpace(report_text::size(m_bytesNeeded),
                                                       report_text::size(space->availableBytes));
    if (m_dryRun) {
        // Nothing to ask: the plan tells it.
        addNotice(shortage);
        return true;
    }
    if (m_services.messages.askYesNoUnassumed(shortage + texts::goOnQuestion()))
        return true;
    m_report.stopped = true;
    return false;
}

void CollectionRun::finishRecord(FileRecord& file, const platform::FileOperationOutcome& outcome)
{
    if (outcome.result == platform::kErrorNone) {
        file.outcome = FileOutcome::Done;
        return;
    }
    if (outcome.result == platform::kOperationCancelled && outcome.failureReason.empty())
        return; // stopped before it was done: still NotDone
    file.outcome = FileOutcome::Failed;
    file.reason = !outcome.failureReason.empty() ? outcome.failureReason
        : outcome.result == platform::kErrorFileNotFound
        ? platform::translate("run", "ファイルが見つかりません。")
        : platform::translate("run", "処理できませんでした。");
}

platform::FileOperationOutcome CollectionRun::copyOrMoveOne(Operation operation,
                                                            const std::string& source,
                                                            std::string& dest, std::size_t index)
{
    // Another program may have written the name since it was planned. A run never
    // replaces anything: the engine leaves a taken name alone (whatever took it, a
    // folder or a dangling link too), and the file gets the next free numbered name.
    const auto code = operation == Operation::Copy ? platform::FileOperationCode::Copy
                                                   : platform::FileOperationCode::Move;
    // The copy made ahead is waited for on the operation's own thread, and kept for the
    // next name when this one is taken.
    std::unique_ptr<platform::PreparedCopy> prepared;
    bool asked = false;
    const auto awaitPrepared = [&]() -> platform::PreparedCopy* {
        if (!asked && m_ahead)
            prepared = m_ahead->await(index);
        asked = true;
        return prepared.get();
    };
    for (;;) {
        // A move across file systems leaves its source for the loop's batch to remove.
        platform::FileOperationOutcome outcome = objFileFolder.RunOperation(
            code, source, dest,
            {.neverReplace = true,
             .leaveSourceAcross = operation == Operation::Move,
             .awaitPrepared = awaitPrepared,
             .sourceLookedAhead = m_sourceTraits && m_sourceTraits->roundTrips,
             .pending = &m_pending});
        if (!outcome.destinationTaken)
            return outcome;
        dest = nextFreeName(dest);
    }
}

std::string CollectionRun::nextFreeName(const std::string& planned)
{
    const NameRules rules = destinationRules();
    const auto keyOf = [&rules](const std::string& name) {
        return rules.nameKey ? rules.nameKey(name) : name;
    };
    if (m_plannedKeys.empty()) {
        // Until this first clash every record still holds its planned name.
        for (const FileRecord& file : m_report.files)
            m_plannedKeys.insert(keyOf(file.dest.str()));
    }
    // Counting on from the last number given to this name keeps a name that many
    // files race for from being tried from 1 again each time.
    std::int32_t& counter = m_lastCounter[keyOf(planned)];
    const std::size_t stemEnd = rules.stemEnd(planned);
    for (;;) {
        std::string candidate = numberedName(planned, stemEnd, stemEnd, ++counter, rules.nameLength);
        if (!entryExists(candidate) && m_plannedKeys.insert(keyOf(candidate)).second)
            return candidate;
    }
}

void CollectionRun::deleteFiles()
{
    if (!objFileFolder.RespondDialog())
        objFileFolder.RespondDialog(true);
    if (objFileFolder.AllowUndo())
        objFileFolder.AllowUndo(false);
    deleteListed();
}

void CollectionRun::recycleFiles()
{
    if (objFileFolder.RespondDialog())
        objFileFolder.RespondDialog(false);
    if (!objFileFolder.AllowUndo())
        objFileFolder.AllowUndo(true);
    deleteListed();
}

void CollectionRun::deleteListed()
{
    // The run found files; one that became a folder since is left alone, never
    // deleted with all it holds. キャンセル stops it between two files.
    const platform::FileOperationOutcome outcome = objFileFolder.RunOperation(
        platform::FileOperationCode::Delete, strSrcFiles[0], {},
        {.nonFoldersOnly = true, .cancel = &m_stopNow, .pending = &m_pending});
    // One operation for all, in list order: what is gone afterwards was done; what is
    // left failed, unless the operation never got to it (stopped before it, or declined).
    const bool declined = outcome.result == platform::kOperationCancelled && !outcome.stopRequested;
    // The list names each file once (one kept by two items is planned out the second
    // time), so the records in the list are the operation's items in their order. What
    // the operation removed is gone; every other file is looked up again, on the
    // worker (on a share that takes a while): another program may have removed it.
    std::vector<bool> gone(m_report.files.size());
    std::vector<std::size_t> toLook;
    std::size_t item = 0;
    for (std::size_t i = 0; i < gone.size(); ++i) {
        if (m_report.files[i].outcome == FileOutcome::Skipped)
            continue;
        if (item < outcome.itemsDone.size() && outcome.itemsDone[item])
            gone[i] = true;
        else
            toLook.push_back(i);
        ++item;
    }
    if (!toLook.empty()) {
        offThread(m_inputs.sourceFolder, [&] {
            for (const std::size_t i : toLook) {
                const FileRecord& file = m_report.files[i];
                m_pending.begin(file.source);
                struct stat status {};
                gone[i] = ::lstat(file.source.c_str(), &status) != 0;
            }
        });
    }
    // The files are done by now: their lines go in few writes.
    m_journal.hold();
    item = 0;
    std::size_t left = 0;
    for (std::size_t i = 0; i < gone.size(); ++i) {
        FileRecord& file = m_report.files[i];
        if (file.outcome == FileOutcome::Skipped)
            continue; // not in the list
        const bool reached = item++ < outcome.itemsBegun;
        if (gone[i]) {
            file.outcome = FileOutcome::Done;
            journalDone(file, nullptr);
        } else if (!declined && reached) {
            file.outcome = FileOutcome::Failed;
            ++left;
        }
    }
    m_journal.release();
    for (FileRecord& file : m_report.files) {
        if (file.outcome != FileOutcome::Failed)
            continue;
        // The message names one file; with several left it would be wrong for the others.
        file.reason = left == 1 && !outcome.failureReason.empty() ? outcome.failureReason
            : m_report.operation == Operation::Delete
            ? platform::translate("run", "削除できませんでした。")
            : platform::translate("run", "ごみ箱に移動できませんでした。");
    }
    m_report.filesFinished = outcome.stopRequested ? std::min(item, outcome.itemsBegun) : m_report.files.size();
    m_report.stopped = outcome.stopRequested;
}

} // namespace run
