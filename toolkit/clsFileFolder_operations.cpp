#include "toolkit/clsFileFolder.h"

#include "platform/ErrorCodes.h"
#include "platform/FileOperationEngine.h"
#include "platform/WindowRegistry.h"

namespace flag = platform::operation_flags;

bool clsFileFolder::Move(const std::string& strFrom, const std::string& strTo)
{
    return FileOperation(strFrom, strTo, static_cast<std::int32_t>(platform::FileOperationCode::Move));
}

bool clsFileFolder::Copy(const std::string& strFrom, const std::string& strTo)
{
    return FileOperation(strFrom, strTo, static_cast<std::int32_t>(platform::FileOperationCode::Copy));
}

bool clsFileFolder::Recycled(const std::string& strFrom)
{
    AllowUndo(true);
    return FileOperation(strFrom, {}, static_cast<std::int32_t>(platform::FileOperationCode::Delete));
}

bool clsFileFolder::Delete(const std::string& strFrom)
{
    return FileOperation(strFrom, {}, static_cast<std::int32_t>(platform::FileOperationCode::Delete));
}

bool clsFileFolder::Rename(const std::string& strFrom, const std::string& strTo)
{
    return FileOperation(strFrom, strTo, static_cast<std::int32_t>(platform::FileOperationCode::Rename));
}

bool clsFileFolder::FileOperation(const std::string& strFrom, const std::string& strTo,
                                  std::int32_t lngFunc)
{
    return RunOperation(static_cast<platform::FileOperationCode>(lngFunc), strFrom, strTo, {}).result == 0;
}

platform::FileOperationOutcome clsFileFolder::RunOperation(platform::FileOperationCode code,
                                                          const std::string& strFrom,
                                                          const std::string& strTo,
                                                          const platform::RunGuards& guards)
{
    m_stopRequested = false;
    if (NullDel(strFrom).empty())
        return {platform::kErrorFileNotFound, false, false, {}, {}, {}};
    platform::FileOperationRequest request;
    request.code = code;
    request.fromList = strFrom;
    request.toList = strTo;
    request.flags = static_cast<std::uint16_t>(lngOpFlags);
    request.ownerWindow = lngTarget;
    request.guards = guards;
    const platform::FileOperationOutcome outcome =
        platform::runFileOperation(request, m_services.operations);
    m_stopRequested = outcome.stopRequested;
    return outcome;
}

void clsFileFolder::setOpFlag(std::int32_t bit, bool on)
{
    lngOpFlags = on ? (lngOpFlags | bit) : (lngOpFlags & ~bit);
}

std::uint64_t clsFileFolder::Target() const
{
    return lngTarget;
}

void clsFileFolder::Target(std::uint64_t lngNewWindow)
{
    lngTarget = m_services.windows.isWindow(lngNewWindow) ? lngNewWindow : 0;
}

// Four properties say what their bit says; the other five say the opposite, so that a
// fresh object (all bits clear) reads true for them.

bool clsFileFolder::RespondDialog() const { return opFlag(flag::kNoConfirmation); }
void clsFileFolder::RespondDialog(bool blnRespond) { setOpFlag(flag::kNoConfirmation, blnRespond); }

bool clsFileFolder::RenameOnCollision() const { return opFlag(flag::kRenameOnCollision); }
void clsFileFolder::RenameOnCollision(bool blnRename) { setOpFlag(flag::kRenameOnCollision, blnRename); }

bool clsFileFolder::SimpleProgress() const { return opFlag(flag::kSimpleProgress); }
void clsFileFolder::SimpleProgress(bool blnSimple) { setOpFlag(flag::kSimpleProgress, blnSimple); }

bool clsFileFolder::ConfirmMakeDir() const { return !opFlag(flag::kNoConfirmMkdir); }
void clsFileFolder::ConfirmMakeDir(bool blnMakeDir) { setOpFlag(flag::kNoConfirmMkdir, !blnMakeDir); }

bool clsFileFolder::ShowDialog() const { return !opFlag(flag::kSilent); }
void clsFileFolder::ShowDialog(bool blnShowDialog) { setOpFlag(flag::kSilent, !blnShowDialog); }

bool clsFileFolder::AllowUndo() const { return opFlag(flag::kAllowUndo); }
void clsFileFolder::AllowUndo(bool blnUndo) { setOpFlag(flag::kAllowUndo, blnUndo); }

bool clsFileFolder::MultiDestFiles() const { return !opFlag(flag::kMultiDestFiles); }
void clsFileFolder::MultiDestFiles(bool blnMultiDestFiles) { setOpFlag(flag::kMultiDestFiles, !blnMultiDestFiles); }

bool clsFileFolder::FilesOnly() const { return !opFlag(flag::kFilesOnly); }
void clsFileFolder::FilesOnly(bool blnFilesOnly) { setOpFlag(flag::kFilesOnly, !blnFilesOnly); }

bool clsFileFolder::WantMappingHandle() const { return !opFlag(flag::kWantMappingHandle); }
void clsFileFolder::WantMappingHandle(bool blnWantMappingHandle) { setOpFlag(flag::kWantMappingHandle, !blnWantMappingHandle); }
