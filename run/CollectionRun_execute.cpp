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
    for (std::int32_t i = 0; i <= lngLastIndex; ++i) {
        yieldWhenDue();
        if (blnCancel)
            break;
        const std::string& source = strSrcFiles[static_cast<std::size_t>(i)];
        if (operation == Operation::Move && !movedSources.insert(source).second)
            continue;
        std::string& dest = strDestFiles[static_cast<std::size_t>(i)];
        // Another program may have written the name since it was planned.
        if (entryExists(dest))
            dest = nextFreeName(dest);
        if (operation == Operation::Copy)
            objFileFolder.Copy(source, dest);
        else
            objFileFolder.Move(source, dest);
        // The user chose "stop" in the operation's own error message or question.
        if (objFileFolder.stopRequested())
            blnCancel = true;
    }
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
    const std::size_t stemEnd = rules.stemEnd(planned);
    for (std::int32_t counter = 1;; ++counter) {
        std::string candidate = planned.substr(0, stemEnd) + '_' + counterText(counter)
            + planned.substr(stemEnd);
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
    objFileFolder.Delete(strSrcFiles[0]);
}

void CollectionRun::recycleFiles()
{
    if (objFileFolder.RespondDialog())
        objFileFolder.RespondDialog(false);
    if (!objFileFolder.AllowUndo())
        objFileFolder.AllowUndo(true);
    objFileFolder.Recycled(strSrcFiles[0]);
}

} // namespace run
