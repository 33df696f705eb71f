#include "platform/FileOperationEngine.h"

#include "platform/DestinationFolders.h"
#include "platform/ErrorCodes.h"
#include "platform/FileCopier.h"
#include "platform/FolderListing.h"
#include "platform/Folders.h"
#include "platform/NonFolderRemover.h"
#include "platform/OperationTexts.h"
#include "platform/OperationWindow.h"
#include "platform/PathNames.h"
#include "platform/PendingCall.h"
#include "platform/TrashCan.h"
#include "platform/TreeRemoval.h"
#include "platform/Wildcard.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>
#include <utility>
#include <vector>

namespace platform {

namespace {

using operation_texts::Verb;
namespace flag = operation_flags;

std::vector<std::string> splitList(std::string_view list)
{
    std::vector<std::string> entries;
    std::size_t at = 0;
    while (at < list.size()) {
        std::size_t end = list.find('\0', at);
        if (end == std::string_view::npos)
            end = list.size();
        if (end == at)
            break; // an empty entry ends the list
        entries.emplace_back(list.substr(at, end - at));
        at = end + 1;
    }
    return entries;
}

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string lastComponent(const std::string& path)
{
    return path.substr(path.rfind('/') + 1);
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? std::string("/") : path.substr(0, slash);
}

std::string joined(const std::string& folder, const std::string& name)
{
    return (folder == "/" ? "" : folder) + "/" + name;
}

std::int64_t nanoseconds(const timespec& time)
{
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

bool isFolder(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// True when a file of a plain name can be made in the folder that is to hold
// `destination`; the probe file is removed again at once.
bool folderTakesPlainNames(const std::string& destination)
{
    const std::string folder = folderOf(destination);
    if (!isFolder(folder))
        return false;
    const std::string probe = joined(folder, ".quorvane-name-probe-" + std::to_string(::getpid()));
    const int descriptor = ::open(probe.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (descriptor < 0)
        return errno == EEXIST;
    ::close(descriptor);
    ::unlink(probe.c_str());
    return true;
}

// True when `destination` lies in the folder `source` or below it, links resolved: a
// copy there would copy itself without end.
bool insideItself(const std::string& source, const std::string& destination)
{
    const std::unique_ptr<char, decltype(&std::free)> from(::realpath(source.c_str(), nullptr),
                                                           &std::free);
    const std::unique_ptr<char, decltype(&std::free)> into(
        ::realpath(folderOf(destination).c_str(), nullptr), &std::free);
    if (!from || !into)
        return false;
    const std::string folder = from.get();
    const std::string target = into.get();
    return target == folder || target.starts_with(folder == "/" ? folder : folder + "/");
}

struct Item {
    std::string source;
    std::string destination;
    std::size_t entry = 0;   // which from-list entry it came from
    bool fromPattern = false;
    int error = 0;           // a failure already known before the item is acted on
    bool seenFree = false;   // no look needed: the name was free, or placing never replaces
};

class Operation {
public:
    Operation(const FileOperationRequest& request, OperationWindow& window,
              const FileOperationSeams& seams)
        : m_request(request), m_window(window), m_seams(seams)
    {
    }

    FileOperationOutcome run();

private:
    enum class Taken { Replace, NewName, Skip, Stop };

    bool has(std::uint16_t bit) const { return (m_request.flags & bit) != 0; }
    bool trashing() const
    {
        return m_request.code == FileOperationCode::Delete && has(flag::kAllowUndo);
    }
    Verb verb() const;

    void expandSources();
    void planDestinations();
    bool makeDestinationFolders();
    bool lookAtDestination(const std::string& path, struct stat& status);
    bool isDestinationFolder(const std::string& path);
    bool confirmDelete();
    void runItems(ProgressReport& report);

    void copyItem(Item& item, const struct stat& source, FileCopier& copier);
    void moveItem(Item& item, FileCopier& copier);
    /// The copy of the item made ahead, once it is written; null when there is none.
    PreparedCopy* preparedCopy();
    /// The copy of `item` made ahead, waited for; null when there is none.
    const PreparedCopy* awaitedCopy(const Item& item);
    void renameItem(const Item& item);
    int deleteItem(const Item& item, TrashCan* trash);
    void failPlacing(const Item& item, int error);
    void noteTaken();
    std::optional<Placement> settleTakenName(Item& item, const struct stat& source);
    Taken askAboutTaken(const std::string& destination);
    void stopByUser();
    void fail(const std::string& path, int error);
    void report(const std::string& text, const std::string& line, int error);
    void noteResult(int result);

    const FileOperationRequest& m_request;
    OperationWindow& m_window;
    const FileOperationSeams& m_seams;
    std::vector<Item> m_items;
    std::vector<std::string> m_destinations;
    DestinationFolders m_folders;
    NonFolderRemover m_nonFolders; // a run's delete for good
    int m_result = 0;
    bool m_stop = false;
    bool m_stopRequested = false;
    bool m_replaceAll = false;
    bool m_destinationTaken = false;
    std::string m_failureReason;
    std::optional<LeftSource> m_sourceLeft;
    std::optional<CopiedFile> m_copied;
    std::size_t m_itemsBegun = 0;
    std::vector<bool> m_itemsDone;
};

Verb Operation::verb() const
{
    switch (m_request.code) {
    case FileOperationCode::Move:
        return Verb::Move;
    case FileOperationCode::Copy:
        return Verb::Copy;
    case FileOperationCode::Rename:
        return Verb::Rename;
    case FileOperationCode::Delete:
        break;
    }
    return trashing() ? Verb::Trash : Verb::Delete;
}

void Operation::noteResult(int result)
{
    if (m_result == 0)
        m_result = result;
}

void Operation::fail(const std::string& path, int error)
{
    report(operation_texts::errorText(verb(), path, error), operation_texts::failureLine(verb(), error),
           error);
}

void Operation::report(const std::string& text, const std::string& line, int error)
{
    noteResult(error > 0 ? errorNumberFromErrno(error) : kErrorGeneric);
    if (m_failureReason.empty())
        m_failureReason = line;
    if (m_window.choose(m_request.ownerWindow, text, operation_texts::errorButtons(), 0) == 1)
        stopByUser();
}

void Operation::noteTaken()
{
    m_destinationTaken = true;
    noteResult(kErrorAlreadyExists);
}

void Operation::failPlacing(const Item& item, int error)
{
    // A run chooses another name itself: a name taken at the moment of placing is no
    // failure to show.
    if (error == EEXIST && m_request.guards.neverReplace)
        return noteTaken();
    // File systems that refuse a name say so in odd ways ("not found", "not
    // permitted", "invalid"): when the source is still there and a plain name can be
    // made in the same folder, the name was the cause.
    struct stat source {};
    if ((error == ENOENT || error == EPERM || error == EINVAL || error == EILSEQ)
        && ::lstat(item.source.c_str(), &source) == 0 && folderTakesPlainNames(item.destination))
        error = operation_texts::kNameRefused;
    fail(item.source, error);
}

void Operation::stopByUser()
{
    noteResult(kOperationCancelled);
    m_stop = true;
    m_stopRequested = true;
}

void Operation::expandSources()
{
    const std::vector<std::string> entries = splitList(m_request.fromList);
    // A path listed twice is deleted once: the second time it would only fail.
    std::unordered_set<std::string> listed;
    const bool dropRepeats = m_request.code == FileOperationCode::Delete;
    auto add = [&](Item item) {
        if (!dropRepeats || listed.insert(item.source).second)
            m_items.push_back(std::move(item));
    };
    for (std::size_t entry = 0; entry < entries.size(); ++entry) {
        const std::string path = withoutTrailingSlashes(entries[entry]);
        if (!isAbsolutePath(path)) {
            add(Item{path, {}, entry, false, ENOENT});
            continue;
        }
        struct stat status {};
        const std::string name = lastComponent(path);
        // "/x/.." names a folder by a detour; deleting it would empty the parent, and
        // "/" the whole system. Only a plain last component names what is meant.
        if (name.empty() || name == "." || name == "..") {
            add(Item{path, {}, entry, false, operation_texts::kNotAnEntry});
            continue;
        }
        // A name that exists is taken literally, even when it holds "*" or "?"; so is
        // every name of a collection run, which are files it found: one gone since
        // must never stand for the files its name happens to match.
        const bool foundByRun = m_request.guards.neverReplace || m_request.guards.nonFoldersOnly;
        if (!hasWildcard(name) || foundByRun || ::lstat(path.c_str(), &status) == 0) {
            add(Item{path, {}, entry, false, 0});
            continue;
        }
        const std::string folder = folderOf(path);
        FolderListing listing;
        bool matched = false;
        const bool listed = listing.read(folder);
        // A folder that cannot be listed is not said to lack the files.
        const int listError = listed ? 0 : errno;
        if (listed) {
            for (std::size_t i = 0; i < listing.size(); ++i) {
                if (has(flag::kFilesOnly) && listing.isFolder(i))
                    continue;
                if (!wildcardMatch(name, listing.name(i)))
                    continue;
                add(Item{joined(folder, std::string(listing.name(i))), {}, entry, true, 0});
                matched = true;
            }
        }
        if (!matched)
            add(Item{path, {}, entry, false, listError != 0 ? listError : ENOENT});
    }
}

void Operation::planDestinations()
{
    const std::vector<std::string> targets = splitList(m_request.toList);
    if (m_request.code == FileOperationCode::Rename) {
        for (Item& item : m_items) {
            if (item.entry >= targets.size()) {
                item.error = item.error ? item.error : operation_texts::kNoDestination;
                continue;
            }
            const std::string& target = targets[item.entry];
            // A bare new name stays in the entry's own folder.
            item.destination = target.find('/') == std::string::npos
                ? joined(folderOf(item.source), target)
                : withoutTrailingSlashes(target);
        }
        return;
    }

    const bool multiple = has(flag::kMultiDestFiles);
    bool anyPattern = false;
    for (const Item& item : m_items)
        anyPattern = anyPattern || item.fromPattern;
    for (Item& item : m_items) {
        const std::size_t index = multiple ? item.entry : 0;
        if (index >= targets.size() || targets[index].empty()) {
            item.error = item.error ? item.error : operation_texts::kNoDestination;
            continue;
        }
        const std::string& target = targets[index];
        const std::string folder = withoutTrailingSlashes(target);
        // Into the folder when the target is one, or must be one because several
        // entries go there; else the target is the new full path. A run names each
        // item's full path and never replaces: whatever is there by now, a folder too,
        // only takes the name, and placing finds that out itself, so there is nothing
        // to look at first.
        const bool neverReplace = m_request.guards.neverReplace;
        struct stat status {};
        const bool exists = !neverReplace && lookAtDestination(folder, status);
        const int lookError = exists ? 0 : errno;
        const bool into = (exists && S_ISDIR(status.st_mode)) || target.back() == '/'
            || item.fromPattern || (!multiple && (m_items.size() > 1 || anyPattern));
        item.destination = into ? joined(folder, lastComponent(item.source)) : folder;
        item.seenFree = !into && (neverReplace || lookError == ENOENT);
        m_destinations.push_back(into ? folder : folderOf(folder));
    }
}

// A copy works from the destination folders' descriptors; a move renames by path, where
// holding the folder open would only add a call per item.
bool Operation::lookAtDestination(const std::string& path, struct stat& status)
{
    if (m_request.code == FileOperationCode::Copy)
        return m_folders.stat(path, status);
    return ::stat(path.c_str(), &status) == 0;
}

bool Operation::isDestinationFolder(const std::string& path)
{
    if (m_request.code == FileOperationCode::Copy)
        return m_folders.open(path);
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool Operation::makeDestinationFolders()
{
    std::unordered_set<std::string> seen;
    for (const std::string& folder : m_destinations) {
        if (!seen.insert(folder).second || isDestinationFolder(folder))
            continue;
        if (!has(flag::kNoConfirmMkdir) && !has(flag::kNoConfirmation)) {
            const std::size_t answer = m_window.choose(
                m_request.ownerWindow, operation_texts::makeFolderQuestion(folder),
                operation_texts::yesNoButtons(), 1);
            if (answer != 0) {
                noteResult(kOperationCancelled);
                return false;
            }
        }
        createFolderWithParents(folder);
        const int error = errno;
        if (!isDestinationFolder(folder)) {
            fail(folder, error != 0 ? error : ENOTDIR);
            return false;
        }
    }
    return true;
}

bool Operation::confirmDelete()
{
    if (has(flag::kNoConfirmation) || m_items.empty())
        return true;
    const std::size_t answer = m_window.choose(
        m_request.ownerWindow,
        operation_texts::deleteQuestion(verb(), m_items.size(), m_items.front().source),
        operation_texts::yesNoButtons(), 1);
    if (answer == 0)
        return true;
    noteResult(kOperationCancelled);
    return false;
}

Operation::Taken Operation::askAboutTaken(const std::string& destination)
{
    if (has(flag::kRenameOnCollision))
        return Taken::NewName;
    if (has(flag::kNoConfirmation) || m_replaceAll)
        return Taken::Replace;
    switch (m_window.choose(m_request.ownerWindow, operation_texts::replaceQuestion(destination),
                            operation_texts::replaceButtons(), 3)) {
    case 0:
        return Taken::Replace;
    case 1:
        m_replaceAll = true;
        return Taken::Replace;
    case 2:
        return Taken::Skip;
    default:
        return Taken::Stop;
    }
}

std::optional<Placement> Operation::settleTakenName(Item& item, const struct stat& source)
{
    // A name the plan saw free needs no second look: placing never replaces, so a
    // name taken since then makes the item fail rather than lose the other file.
    if (std::exchange(item.seenFree, false))
        return Placement::NeverReplace;
    struct stat taken {};
    if (::lstat(item.destination.c_str(), &taken) != 0)
        return Placement::NeverReplace;
    if (m_request.guards.neverReplace) {
        noteTaken();
        return std::nullopt;
    }
    struct stat target {};
    const bool sameFile = (taken.st_dev == source.st_dev && taken.st_ino == source.st_ino)
        || (::stat(item.destination.c_str(), &target) == 0 && target.st_dev == source.st_dev
            && target.st_ino == source.st_ino);
    if (sameFile) {
        fail(item.source, operation_texts::kSameFile);
        return std::nullopt;
    }
    if (S_ISDIR(taken.st_mode)) {
        fail(item.source, EISDIR); // a folder is never replaced by a file
        return std::nullopt;
    }
    if (S_ISDIR(source.st_mode) && !has(flag::kRenameOnCollision)) {
        fail(item.source, EEXIST); // nor a file by a folder
        return std::nullopt;
    }
    switch (askAboutTaken(item.destination)) {
    case Taken::Replace:
        return Placement::Replace;
    case Taken::NewName: {
        const std::string folder = folderOf(item.destination);
        const std::string name = lastComponent(item.destination);
        const std::size_t dot = name.rfind('.');
        const std::size_t extension = dot == std::string::npos || dot == 0 ? name.size() : dot;
        for (unsigned number = 2;; ++number) {
            std::string candidate = joined(folder, name.substr(0, extension) + " ("
                                                       + std::to_string(number) + ")"
                                                       + name.substr(extension));
            if (::lstat(candidate.c_str(), &taken) != 0) {
                item.destination = std::move(candidate);
                return Placement::NeverReplace;
            }
        }
    }
    case Taken::Skip:
        noteResult(kOperationCancelled);
        return std::nullopt;
    case Taken::Stop:
        stopByUser();
        return std::nullopt;
    }
    return std::nullopt;
}

PreparedCopy* Operation::preparedCopy()
{
    return m_request.guards.prepared || !m_request.guards.awaitPrepared ? m_request.guards.prepared
                                                                        : m_request.guards.awaitPrepared();
}

const PreparedCopy* Operation::awaitedCopy(const Item& item)
{
    // Only the one item of a run's operation has a copy made ahead.
    if (!m_request.guards.sourceLookedAhead || m_items.size() != 1
        || (!m_request.guards.prepared && !m_request.guards.awaitPrepared))
        return nullptr;
    // Named before the wait: a copy held up on a share is the file the run waits for.
    if (m_request.guards.pending)
        m_request.guards.pending->begin(item.source);
    const PreparedCopy* const prepared = preparedCopy();
    return prepared && prepared->ready() && prepared->source() == item.source ? prepared : nullptr;
}

void Operation::copyItem(Item& item, const struct stat& source, FileCopier& copier)
{
    const bool folder = S_ISDIR(source.st_mode);
    if (!folder && !S_ISREG(source.st_mode))
        return fail(item.source, operation_texts::kNotRegularFile);
    PreparedCopy* const prepared = folder ? nullptr : preparedCopy();
    if (folder && insideItself(item.source, item.destination))
        return fail(item.source, operation_texts::kInsideItself);
    const std::optional<Placement> placement = settleTakenName(item, source);
    if (!placement)
        return;
    const int folderFd = m_folders.find(folderOf(item.destination));
    const int error = folder ? copier.copyTree(item.source, item.destination, *placement, false)
        : folderFd >= 0
        ? copier.copyFile(item.source, folderFd, lastComponent(item.destination), *placement, false, prepared)
        : copier.copyFile(item.source, item.destination, *placement, false);
    if (error == ECANCELED)
        return stopByUser();
    if (error != 0)
        return failPlacing(item, error);
    if (!folder && m_items.size() == 1)
        m_copied = copier.lastCopied();
}

void Operation::moveItem(Item& item, FileCopier& copier)
{
    struct stat source {};
    if (::lstat(item.source.c_str(), &source) != 0)
        return fail(item.source, errno);
    if (S_ISDIR(source.st_mode) && item.destination.starts_with(item.source + "/"))
        return fail(item.source, operation_texts::kInsideItself);

    int error = moveName(AT_FDCWD, item.source.c_str(), AT_FDCWD, item.destination.c_str(),
                         Placement::NeverReplace);
    if (error == EEXIST && m_request.guards.neverReplace)
        return noteTaken();
    if (error == EEXIST) {
        item.seenFree = false;
        const std::optional<Placement> placement = settleTakenName(item, source);
        if (!placement)
            return;
        error = moveName(AT_FDCWD, item.source.c_str(), AT_FDCWD, item.destination.c_str(),
                         *placement);
    }
    if (error != EXDEV) {
        if (error != 0)
            fail(item.source, error);
        return;
    }

    // Another file system: copy, and remove the source only once the whole copy is
    // on the disk.
    const bool folder = S_ISDIR(source.st_mode);
    if (!folder && !S_ISREG(source.st_mode) && !S_ISLNK(source.st_mode))
        return fail(item.source, operation_texts::kNotRegularFile);
    // A file system mounted inside the folder can still be the destination.
    if (folder && insideItself(item.source, item.destination))
        return fail(item.source, operation_texts::kInsideItself);
    const std::optional<Placement> placement = settleTakenName(item, source);
    if (!placement)
        return;
    // The caller flushes many such copies at once before their sources go.
    const bool leaveSource = m_request.guards.leaveSourceAcross && S_ISREG(source.st_mode);
    PreparedCopy* const prepared = leaveSource ? preparedCopy() : nullptr;
    // Placing a copy made ahead needs the folder it was made in; a move opens it only then.
    const std::string destinationFolder = folderOf(item.destination);
    const int folderFd = prepared && m_folders.open(destinationFolder) ? m_folders.find(destinationFolder) : -1;
    error = folder ? copier.copyTree(item.source, item.destination, *placement, true)
        : S_ISLNK(source.st_mode)
        ? copier.copyLink(item.source, item.destination, *placement)
        : folderFd >= 0
        ? copier.copyFile(item.source, folderFd, lastComponent(item.destination), *placement, false, prepared)
        : copier.copyFile(item.source, item.destination, *placement, !leaveSource);
    if (error == ECANCELED)
        return stopByUser();
    if (error != 0)
        return failPlacing(item, error);
    if (leaveSource) {
        if (m_items.size() == 1)
            m_copied = copier.lastCopied();
        m_sourceLeft = LeftSource{item.source, item.destination, nanoseconds(source.st_ctim),
                                  source.st_ino, static_cast<std::uint64_t>(source.st_size)};
        return;
    }
    error = folder ? removeForGood(item.source) : ::unlink(item.source.c_str()) == 0 ? 0 : errno;
    if (error != 0)
        report(operation_texts::notRemovedText(item.source, folder, error),
               operation_texts::notRemovedLine(folder, error), error);
}

void Operation::renameItem(const Item& item)
{
    // A rename never replaces: a taken name is a failure to report.
    if (const int error = moveName(AT_FDCWD, item.source.c_str(), AT_FDCWD,
                                   item.destination.c_str(), Placement::NeverReplace))
        fail(item.source, error);
}

int Operation::deleteItem(const Item& item, TrashCan* trash)
{
    if (m_request.guards.nonFoldersOnly) {
        // unlink never removes a folder, not even one put there since the search.
        if (!trash)
            return m_nonFolders.remove(item.source);
        struct stat status {};
        if (::lstat(item.source.c_str(), &status) != 0)
            return errno;
        if (S_ISDIR(status.st_mode))
            return EISDIR;
    }
    return trash ? trash->trash(item.source) : removeForGood(item.source);
}

void Operation::runItems(ProgressReport& report)
{
    FileCopier copier(report);
    copier.setAvoidUnnamedFiles(m_seams.avoidUnnamedFiles);
    if (m_seams.beforeCopyBlock)
        copier.setBeforeBlock(m_seams.beforeCopyBlock);
    std::optional<TrashCan> trash;
    if (trashing())
        trash.emplace();
    const bool showNames = !has(flag::kSimpleProgress);
    if (m_request.code == FileOperationCode::Delete)
        m_itemsDone.assign(m_items.size(), false);

    for (std::size_t index = 0; index < m_items.size() && !m_stop; ++index) {
        // The run's cancel lets the item in progress finish and begins no other.
        if (m_request.guards.cancel && m_request.guards.cancel->load()) {
            stopByUser();
            break;
        }
        Item& item = m_items[index];
        struct stat source {};
        const bool copying = m_request.code == FileOperationCode::Copy;
        // Where the copy made ahead stands for it, no look of its own at the source.
        const PreparedCopy* const ahead = copying ? awaitedCopy(item) : nullptr;
        if (ahead)
            source = ahead->sourceStatus();
        const bool found = !copying || ahead || ::stat(item.source.c_str(), &source) == 0;
        const int foundError = found ? 0 : errno;
        report.beginItem(index, m_items.size(), showNames ? item.source : std::string(),
                         copying ? static_cast<std::uint64_t>(source.st_size) : 0);
        if (report.cancelRequested()) {
            stopByUser();
            break;
        }
        m_itemsBegun = index + 1;
        if (m_request.guards.pending && !ahead)
            m_request.guards.pending->begin(item.source);
        if (item.error != 0 || foundError != 0) {
            fail(item.source, item.error != 0 ? item.error : foundError);
            continue;
        }
        switch (m_request.code) {
        case FileOperationCode::Copy:
            copyItem(item, source, copier);
            break;
        case FileOperationCode::Move:
            moveItem(item, copier);
            break;
        case FileOperationCode::Rename:
            renameItem(item);
            break;
        case FileOperationCode::Delete:
            if (const int error = deleteItem(item, trash ? &*trash : nullptr))
                fail(item.source, error);
            else
                m_itemsDone[index] = true;
            break;
        }
    }
}

FileOperationOutcome Operation::run()
{
    // The looks at the sources and the destination folders go to the worker too: on a
    // share any call may take seconds, and the window must not freeze meanwhile.
    enum class Ended { Ran, NoItems, Declined, NoFolder } ended = Ended::Ran;
    m_window.runWithProgress(m_request.ownerWindow, operation_texts::progressTitle(verb()),
                             !has(flag::kSilent), [this, &ended](ProgressReport& report) {
                                 expandSources();
                                 if (m_items.empty()) {
                                     ended = Ended::NoItems;
                                 } else if (m_request.code == FileOperationCode::Delete) {
                                     if (!confirmDelete())
                                         ended = Ended::Declined;
                                 } else {
                                     planDestinations();
                                     if (!makeDestinationFolders())
                                         ended = Ended::NoFolder;
                                 }
                                 if (ended == Ended::Ran)
                                     runItems(report);
                                 if (m_request.guards.pending)
                                     m_request.guards.pending->end();
                             });
    switch (ended) {
    case Ended::NoItems:
        return {kErrorFileNotFound, false, false, {}, {}, {}};
    case Ended::Declined:
        return {m_result, false, false, {}, {}, {}};
    case Ended::NoFolder:
        return {m_result, m_stopRequested, m_destinationTaken, m_failureReason, {}, {}};
    case Ended::Ran:
        break;
    }
    m_itemsDone.resize(m_itemsBegun);
    return {m_result, m_stopRequested, m_destinationTaken, m_failureReason, m_sourceLeft, m_copied, m_itemsBegun,
            std::move(m_itemsDone)};
}

} // namespace

FileOperationOutcome runFileOperation(const FileOperationRequest& request,
                                      OperationWindow& window, const FileOperationSeams& seams)
{
    return Operation(request, window, seams).run();
}

} // namespace platform
