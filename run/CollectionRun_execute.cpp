// The second half of a run: copying or moving the kept files one by one, and deleting
// or recycling them in one operation.
#include "run/CollectionRun.h"

#include "run/NameRules.h"
#include "toolkit/clsFileFolder.h"

namespace run {

void CollectionRun::copyOrMoveLoop(Operation operation)
{
    // A file kept by two items is listed twice. Copying it twice makes two copies;
    // moving it a second time would only find it gone.
    std::unordered_set<std::string> movedSources;
    m_plannedKeys.clear();
    m_lastCounter.clear();
    for (std::int32_t i = 0; i <= lngLastIndex; ++i) {
        yieldWhenDue();
        if (blnCancel)
            break;
        const std::string& source = strSrcFiles[static_cast<std::size_t>(i)];
        if (operation == Operation::Move && !movedSources.insert(source).second)
            continue;
        copyOrMoveOne(operation, source, strDestFiles[static_cast<std::size_t>(i)]);
        // The user chose "stop" in the operation's own error message or question.
        if (objFileFolder.stopRequested())
            blnCancel = true;
    }
}

void CollectionRun::copyOrMoveOne(Operation operation, const std::string& source,
                                  std::string& dest)
{
    // Another program may have written the name since it was planned, or writes it
    // between this look and the placing. A run never replaces anything: the engine
    // leaves a taken name alone, and the file gets the next free numbered name.
    if (entryExists(dest))
        dest = nextFreeName(dest);
    const auto code = operation == Operation::Copy ? platform::FileOperationCode::Copy
                                                   : platform::FileOperationCode::Move;
    while (objFileFolder.RunOperation(code, source, dest, {.neverReplace = true}).destinationTaken)
        dest = nextFreeName(dest);
}

std::string CollectionRun::nextFreeName(const std::string& planned)
{
    const NameRules rules = destinationRules();
    const auto keyOf = [&rules](const std::string& name) {
        return rules.nameKey ? rules.nameKey(name) : name;
    };
    if (m_plannedKeys.empty()) {
        for (std::int32_t i = 0; i <= lngLastIndex; ++i)
            m_plannedKeys.insert(keyOf(strDestFiles[static_cast<std::size_t>(i)]));
    }
    // Counting on from the last number given to this name keeps a name that many
    // files race for from being tried from 1 again each time.
    std::int32_t& counter = m_lastCounter[keyOf(planned)];
    const std::size_t stemEnd = rules.stemEnd(planned);
    for (;;) {
        std::string candidate = numberedName(planned, stemEnd, stemEnd, ++counter);
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
    // deleted with all it holds.
    objFileFolder.RunOperation(platform::FileOperationCode::Delete, strSrcFiles[0], {},
                               {.nonFoldersOnly = true});
}

} // namespace run
