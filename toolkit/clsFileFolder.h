#pragma once

#include "platform/FileOperationEngine.h"
#include "platform/FolderDialog.h"
#include "platform/UserServices.h"
#include "toolkit/PathList.h"

#include <cstdint>
#include <string>
#include <string_view>

struct SearchProgress;

namespace platform {
class FolderListing;
}

/// The program's toolkit for files and folders: existence tests and folder creation,
/// the folder tree search, file operations, the folder picker and path-name functions.
/// Paths are native byte strings; a name that is not valid UTF-8 is kept byte-exact.
/// Ordinary failures come back in the result (empty text, false, -1, an error number).
class clsFileFolder {
public:
    /// A count of a search that has not run yet, or whose folder was not found.
    static constexpr std::int32_t kNotSearched = -1;

    explicit clsFileFolder(platform::UserServices services);

    /// The folder dialog, opened at one of the user's standard places. Each returns the
    /// chosen folder's full path, or the empty text when the user cancelled.
    std::string ReferDesktop();
    std::string ReferPrograms();
    std::string ReferPersonal();
    std::string ReferFavorites();
    std::string ReferStartMenu();
    std::string ReferDrives();
    std::string ReferNetwork();
    /// The folder dialog opened at UserPath; a message and the empty text when it names
    /// no existing folder.
    std::string ReferUser(const std::string& UserPath);

    /// Options of the folder dialog, one bit of lngBrowseFlags each. On this desktop
    /// only folders can ever be chosen; AllResource lists files too; NetworkOnly and
    /// NetworkPrintOnly accept only computers or printers, which have no folder path,
    /// so the methods then give the empty text. The others have nothing to act on.
    bool RealFolderOnly() const;
    void RealFolderOnly(bool blnValue);
    bool DontNetwork() const;
    void DontNetwork(bool blnValue);
    bool AddStatus() const;
    void AddStatus(bool blnValue);
    bool NetworkOnlySelect() const;
    void NetworkOnlySelect(bool blnValue);
    bool AddFileText() const;
    void AddFileText(bool blnValue);
    bool InvalidItem() const;
    void InvalidItem(bool blnValue);
    bool NetworkOnly() const;
    void NetworkOnly(bool blnValue);
    bool NetworkPrintOnly() const;
    void NetworkPrintOnly(bool blnValue);
    bool AllResource() const;
    void AllResource(bool blnValue);


    /// The folder for temporary files with its trailing "/"; empty on failure.
    std::string GetTempFolder() const;
    /// Creates the folder and its missing parents: 0 when made, 183 when it exists,
    /// 3 when it cannot be made, else another error number.
    std::int32_t CreateFolder(const std::string& strCreateFolder) const;
    /// The path itself when it exists (there are no short or long forms here); empty
    /// otherwise.
    std::string GetLongPath(const std::string& strShortPath) const;
    std::string GetShortPath(const std::string& strLongPath) const;
    /// True when the text names a folder that can be listed ("/dir" and "/dir/" alike).
    bool FolderExist(const std::string& strFolder) const;
    /// True when the text names, or as a pattern with "*" and "?" matches, an existing
    /// entry that is neither a folder nor hidden.
    bool FileExist(const std::string& strFile) const;
    /// The next five read the text up to its first NUL only, as a path call would.
    /// The last component without its extension and dot; empty when it has no extension.
    std::string GetNoTypeFileNameA(const std::string& strFileFullPath) const;
    /// The last component ("dir/" for "/x/dir/").
    std::string GetFileNameA(const std::string& strFileFullPath) const;
    /// The last component when the text has a folder part; empty otherwise.
    std::string GetFileNameAB(const std::string& strFileFullPath) const;
    /// The display title of the file; empty for a text that names no file.
    std::string GetFileName(const std::string& strFileFullPath) const;
    /// The extension without its dot; empty when there is none.
    std::string GetFileTypeA(const std::string& strFileFullPath) const;
    /// The text after the last "." of the whole path (blnNameCheck) or of the display
    /// title. Unless blnExistCheck, the file must exist, or the result is empty.
    std::string GetFileType(const std::string& strFilePath, bool blnExistCheck = false,
                            bool blnNameCheck = false) const;
    /// The folder of an existing file, or an existing folder itself, without a trailing
    /// "/" (the root stays "/"); empty otherwise.
    std::string GetFilePath(const std::string& strFileFullPath) const;
    /// The chain of folders from "/" down to the folder GetFilePath gives.
    PathList GetSplitPath(const std::string& strFileFullPath) const;

    /// The start folder and every folder below it, depth-first, pre-order.
    const PathList& SFolderPath(const std::string& strFolderPath);
    /// Each folder directly in the folder.
    PathList GetFolder(const std::string& strFolderPath);
    /// Every file below the folder; a subfolder's files stand where it was met. With
    /// `progress` the search may run on another thread than the one watching it.
    const PathList& SFilePath(const std::string& strFolderPath, SearchProgress* progress = nullptr);
    /// The list the last SFilePath() returned, handed over instead of copied (a search
    /// of a large tree holds a path per file); what stays behind is the one empty text.
    /// SFilePathCount() is unchanged.
    PathList takeSFileList();
    /// Each file directly in the folder.
    PathList GetFile(const std::string& strFolderPath);
    /// The start folder, and every folder (ending in "/") and file below it.
    const PathList& SFileFolderPath(const std::string& strFolderPath);
    /// Each folder (ending in "/") and file directly in the folder.
    PathList GetFileFolder(const std::string& strFolderPath);

    /// The text up to its first NUL character; all of it when it holds none.
    static std::string NullDel(std::string_view strBuffer);

    std::int32_t SFolderPathCount() const { return m_sFolderPathCount; }
    std::int32_t FolderPathCount() const { return m_folderPathCount; }
    std::int32_t SFilePathCount() const { return m_sFilePathCount; }
    std::int32_t FilePathCount() const { return m_filePathCount; }
    std::int32_t BSFolderPathCount() const { return m_bsFolderPathCount; }
    std::int32_t BSFilePathCount() const { return m_bsFilePathCount; }
    std::int32_t BFolderPathCount() const { return m_bFolderPathCount; }
    std::int32_t BFilePathCount() const { return m_bFilePathCount; }

    // File operations. Each runs to its end before it returns, with the questions,
    // progress window and error messages the option properties call for; true when
    // the whole operation succeeded. A from-list holds one path, or several each
    // followed by a NUL; one that is empty or begins with a NUL does nothing.

    /// Moves to the full path strTo, or into strTo when it names a folder.
    bool Move(const std::string& strFrom, const std::string& strTo);
    /// Copies to the full path strTo, or into strTo when it names a folder.
    bool Copy(const std::string& strFrom, const std::string& strTo);
    /// Moves the listed entries to the trash; AllowUndo stays on afterwards.
    bool Recycled(const std::string& strFrom);
    /// Deletes the listed entries: for good while AllowUndo is off, else into the trash.
    bool Delete(const std::string& strFrom);
    /// Gives the entry the new path or name strTo; a taken name is never replaced.
    bool Rename(const std::string& strFrom, const std::string& strTo);

    /// Owner window of the operations' windows and of the folder picker: a window id,
    /// 0 for none. Writing an id that names no live window of the program stores 0.
    std::uint64_t Target() const;
    void Target(std::uint64_t lngNewWindow);
    /// Every question is answered "yes to all" without being asked.
    bool RespondDialog() const;
    void RespondDialog(bool blnRespond);
    /// A taken destination name gets a new free name instead of being replaced.
    bool RenameOnCollision() const;
    void RenameOnCollision(bool blnRename);
    /// The progress window shows no file names.
    bool SimpleProgress() const;
    void SimpleProgress(bool blnSimple);
    /// A missing destination folder is made only after the user agreed.
    bool ConfirmMakeDir() const;
    void ConfirmMakeDir(bool blnMakeDir);
    /// A progress window appears for operations that take a while.
    bool ShowDialog() const;
    void ShowDialog(bool blnShowDialog);
    /// A delete moves the entries to the trash instead of deleting them for good.
    bool AllowUndo() const;
    void AllowUndo(bool blnUndo);
    /// True: the to-list is one destination for all entries; false: one per entry.
    bool MultiDestFiles() const;
    void MultiDestFiles(bool blnMultiDestFiles);
    /// True: a wildcard pattern matches folders as well as files.
    bool FilesOnly() const;
    void FilesOnly(bool blnFilesOnly);
    /// True: no table of renamed names is wanted (none is ever made).
    bool WantMappingHandle() const;
    void WantMappingHandle(bool blnWantMappingHandle);

    /// True when, during the last file operation, the user chose to stop: in an error
    /// message, a replace question or the progress window. Cleared as each operation
    /// starts.
    bool stopRequested() const { return m_stopRequested; }

    /// Copy, Move or Delete (with the option bits as they are) on behalf of a
    /// collection run, under the run's guards; gives the whole outcome, so that the run
    /// can number a name found taken and try again.
    platform::FileOperationOutcome RunOperation(platform::FileOperationCode code,
                                                const std::string& strFrom,
                                                const std::string& strTo,
                                                const platform::RunGuards& guards);

private:
    enum class Collect { Folders, Files, FoldersAndFiles };

    std::string ReferFolder(platform::FolderDialog::Root root, const std::string& strRootPath);
    bool browseFlag(std::int32_t bit) const { return (lngBrowseFlags & bit) != 0; }
    void browseFlag(std::int32_t bit, bool on) { lngBrowseFlags = on ? lngBrowseFlags | bit : lngBrowseFlags & ~bit; }
    struct Walk;

    bool settleSearchFolder(const std::string& strFolderPath, std::string& folder) const;
    void FolderWalk(const std::string& strFolderPath);
    void FileWalk(const std::string& strFolderPath, SearchProgress* progress);
    void FileFolderWalk(const std::string& strFolderPath);
    static void walkFolder(Walk& walk);
    static bool readWatched(Walk& walk, platform::FolderListing& listing);
    bool FileOperation(const std::string& strFrom, const std::string& strTo,
                       std::int32_t lngFunc);
    bool opFlag(std::int32_t bit) const { return (lngOpFlags & bit) != 0; }
    void setOpFlag(std::int32_t bit, bool on);
    PathList listOneLevel(const std::string& strFolderPath, Collect what,
                          std::int32_t& folderCount, std::int32_t& fileCount);

    platform::UserServices m_services;

    std::uint64_t lngTarget = 0;     // owner window of dialogs: a Qt window id, 0 for none
    std::int32_t lngOpFlags = 0;     // option bits of the file operations
    std::int32_t lngBrowseFlags = 0; // option bits of the folder picker
    bool m_stopRequested = false;     // the user chose to stop the last file operation

    PathList strSFolderList;
    std::int32_t m_sFolderPathCount = kNotSearched;
    std::int32_t m_folderPathCount = kNotSearched;
    PathList strSFileList;
    std::int32_t m_sFilePathCount = kNotSearched;
    std::int32_t m_filePathCount = kNotSearched;
    PathList strSFileFolderList;
    std::int32_t m_bsFolderPathCount = kNotSearched;
    std::int32_t m_bsFilePathCount = kNotSearched;
    std::int32_t m_bFolderPathCount = kNotSearched;
    std::int32_t m_bFilePathCount = kNotSearched;
};
