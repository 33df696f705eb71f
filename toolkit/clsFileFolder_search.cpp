// The folder tree search: three walks over the whole tree and three one-level listings.
#include "platform/FolderListing.h"
#include "platform/FolderReadAhead.h"
#include "platform/MessageBox.h"
#include "platform/PendingCall.h"
#include "platform/TextCatalog.h"
#include "toolkit/SearchProgress.h"
#include "toolkit/clsFileFolder.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

// State of one walk, shared by every level of its descent.
struct clsFileFolder::Walk {
    Collect what;
    bool descend;
    PathList& list;
    std::int32_t& folderCount;
    std::int32_t& fileCount;
    std::string path; // the folder being listed, always ending in "/"
    // Folders on the current descent chain: a link back to one of them would make the
    // walk go round in circles, so it is not entered again.
    std::vector<std::pair<dev_t, ino_t>> chain;
    // One listing per depth, reused from folder to folder (a deque keeps them in place
    // while deeper levels are added).
    std::deque<platform::FolderListing> levels;
    SearchProgress* progress; // none when nobody watches
    platform::FolderReadAhead* ahead = nullptr; // where folders are read ahead of the walk
};

bool clsFileFolder::settleSearchFolder(const std::string& strFolderPath, std::string& folder) const
{
    folder = GetFilePath(strFolderPath);
    if (folder.empty())
        folder = strFolderPath;
    if (!folder.empty() && FolderExist(folder))
        return true;
    m_services.messages.showMessage(platform::translate("clsFileFolder", "指定されたフォルダが存在しません"));
    return false;
}

bool clsFileFolder::readWatched(Walk& walk, platform::FolderListing& listing)
{
    SearchProgress* progress = walk.progress;
    const auto read = [&] { return walk.ahead ? walk.ahead->take(walk.path, listing) : listing.read(walk.path); };
    if (!progress)
        return read();
    if (progress->stop && progress->stop->load(std::memory_order_relaxed)) {
        progress->stopped = true;
        return false;
    }
    // Counted as each folder begins: a total kept by the walk, stored where another
    // thread can read it, costs one store per folder.
    progress->files.store(walk.fileCount, std::memory_order_relaxed);
    if (progress->reading)
        progress->reading->begin(walk.path);
    if (progress->beforeReading)
        progress->beforeReading(walk.path);
    const bool succeeded = read();
    if (progress->reading)
        progress->reading->end();
    progress->folders.fetch_add(1, std::memory_order_relaxed);
    return succeeded;
}

void clsFileFolder::walkFolder(Walk& walk)
{
    if (walk.levels.size() <= walk.chain.size())
        walk.levels.emplace_back();
    platform::FolderListing& listing = walk.levels[walk.chain.size()];
    if (!readWatched(walk, listing))
        return;
    const std::pair identity{listing.device(), listing.inode()};
    if (std::find(walk.chain.begin(), walk.chain.end(), identity) != walk.chain.end())
        return;
    walk.chain.push_back(identity);

    const std::size_t base = walk.path.size();
    if (walk.ahead && walk.descend) {
        // Its subfolders are the next folders the walk reads, in this order.
        std::vector<std::string> subfolders;
        for (std::size_t i = 0; i < listing.size(); ++i)
            if (listing.isFolder(i))
                subfolders.push_back(walk.path + std::string(listing.name(i)) + '/');
        walk.ahead->expect(std::move(subfolders));
    }
    for (std::size_t i = 0; i < listing.size(); ++i) {
        walk.path.resize(base);
        walk.path += listing.name(i);
        if (listing.isFolder(i)) {
            if (walk.what != Collect::Files) {
                walk.list.push_back(walk.what == Collect::FoldersAndFiles ? walk.path + '/' : walk.path);
                ++walk.folderCount;
            }
            if (walk.descend) {
                walk.path += '/';
                walkFolder(walk);
                if (walk.progress && walk.progress->stopped)
                    return;
            }
        } else if (walk.what != Collect::Folders) {
            walk.list.push_back(walk.path);
            ++walk.fileCount;
        }
    }
    walk.path.resize(base);
    walk.chain.pop_back();
    if (walk.progress)
        walk.progress->files.store(walk.fileCount, std::memory_order_relaxed);
}

namespace {

std::string withTrailingSlash(std::string folder)
{
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

// The start folder as the first entry of a tree listing: without its trailing "/",
// except the root, which is never shortened.
std::string withoutTrailingSlash(std::string folder)
{
    if (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

void ensureOneElement(PathList& list)
{
    if (list.empty())
        list.emplace_back();
}

} // namespace

void clsFileFolder::FolderWalk(const std::string& strFolderPath)
{
    std::int32_t unused = 0;
    Walk walk{Collect::Folders, true, strSFolderList, m_sFolderPathCount, unused,
              withTrailingSlash(strFolderPath), {}, {}, nullptr};
    walkFolder(walk);
}

void clsFileFolder::FileWalk(const std::string& strFolderPath, SearchProgress* progress)
{
    std::int32_t unused = 0;
    Walk walk{Collect::Files, true, strSFileList, unused, m_sFilePathCount,
              withTrailingSlash(strFolderPath), {}, {}, progress};
    std::optional<platform::FolderReadAhead> ahead;
    if (progress && progress->foldersAtOnce > 1) {
        ahead.emplace(progress->foldersAtOnce, progress->stop);
        walk.ahead = &*ahead;
    }
    walkFolder(walk);
}

void clsFileFolder::FileFolderWalk(const std::string& strFolderPath)
{
    Walk walk{Collect::FoldersAndFiles, true, strSFileFolderList, m_bsFolderPathCount,
              m_bsFilePathCount, withTrailingSlash(strFolderPath), {}, {}, nullptr};
    walkFolder(walk);
}

const PathList& clsFileFolder::SFolderPath(const std::string& strFolderPath)
{
    strSFolderList.clear();
    m_sFolderPathCount = 0;
    std::string folder;
    if (!settleSearchFolder(strFolderPath, folder)) {
        m_sFolderPathCount = kNotSearched;
    } else {
        strSFolderList.push_back(withoutTrailingSlash(folder));
        m_sFolderPathCount = 1;
        FolderWalk(folder);
    }
    ensureOneElement(strSFolderList);
    return strSFolderList;
}

const PathList& clsFileFolder::SFilePath(const std::string& strFolderPath, SearchProgress* progress)
{
    strSFileList.clear();
    m_sFilePathCount = 0;
    if (progress)
        progress->stopped = false;
    std::string folder;
    if (!settleSearchFolder(strFolderPath, folder))
        m_sFilePathCount = kNotSearched;
    else
        FileWalk(folder, progress);
    ensureOneElement(strSFileList);
    return strSFileList;
}

PathList clsFileFolder::takeSFileList()
{
    PathList list = std::move(strSFileList);
    strSFileList.assign(1, std::string());
    return list;
}

const PathList& clsFileFolder::SFileFolderPath(const std::string& strFolderPath)
{
    strSFileFolderList.clear();
    m_bsFolderPathCount = 0;
    m_bsFilePathCount = 0;
    std::string folder;
    if (!settleSearchFolder(strFolderPath, folder)) {
        m_bsFolderPathCount = kNotSearched;
        m_bsFilePathCount = kNotSearched;
    } else {
        strSFileFolderList.push_back(withTrailingSlash(folder));
        m_bsFolderPathCount = 1;
        FileFolderWalk(folder);
    }
    ensureOneElement(strSFileFolderList);
    return strSFileFolderList;
}

PathList clsFileFolder::listOneLevel(const std::string& strFolderPath, Collect what,
                                     std::int32_t& folderCount, std::int32_t& fileCount)
{
    PathList list;
    folderCount = 0;
    fileCount = 0;
    std::string folder;
    if (!settleSearchFolder(strFolderPath, folder)) {
        folderCount = kNotSearched;
        fileCount = kNotSearched;
    } else {
        Walk walk{what, false, list, folderCount, fileCount, withTrailingSlash(folder), {}, {}, nullptr};
        walkFolder(walk);
    }
    ensureOneElement(list);
    return list;
}

PathList clsFileFolder::GetFolder(const std::string& strFolderPath)
{
    std::int32_t unused = 0;
    return listOneLevel(strFolderPath, Collect::Folders, m_folderPathCount, unused);
}

PathList clsFileFolder::GetFile(const std::string& strFolderPath)
{
    std::int32_t unused = 0;
    return listOneLevel(strFolderPath, Collect::Files, unused, m_filePathCount);
}

PathList clsFileFolder::GetFileFolder(const std::string& strFolderPath)
{
    return listOneLevel(strFolderPath, Collect::FoldersAndFiles, m_bFolderPathCount,
                        m_bFilePathCount);
}
