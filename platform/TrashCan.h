#pragma once

#include <memory>
#include <string>
#include <sys/types.h>
#include <unordered_map>
#include <vector>

namespace platform {

/// Moves entries into the desktop's trash, so that file managers list them and can put
/// them back: the home trash for entries on its file system, else the trash at the top
/// of the entry's own file system. An entry is only ever renamed into a trash, never
/// copied across file systems, and never deleted: one that cannot be trashed stays.
/// One object serves one operation and keeps its trash folders open meanwhile.
class TrashCan {
public:
    TrashCan();
    ~TrashCan();
    TrashCan(const TrashCan&) = delete;
    TrashCan& operator=(const TrashCan&) = delete;

    /// Trashes the entry at the absolute `path` (a link itself, never its target).
    /// Returns 0, an errno, or kNoTrash from OperationTexts.h.
    int trash(const std::string& path);

    /// The trash folder the home trash lives in: $XDG_DATA_HOME/Trash, by default
    /// ~/.local/share/Trash.
    static std::string homeTrashPath();

    /// A trash folder an entry may have gone to, with the folder its recorded paths are
    /// relative to (empty: they are absolute).
    struct Place {
        std::string trash;
        std::string top;
    };
    /// Every trash folder that may hold entries trashed from the existing folder
    /// `realFolder` (no links in it): the home trash and the trash folders at the top
    /// of its file system.
    static std::vector<Place> placesFor(const std::string& realFolder);

private:
    struct Folder;

    Folder* folderFor(dev_t device, const std::string& realFolder);
    bool openHomeTrash(Folder& folder);
    bool openTopTrash(Folder& folder, const std::string& realFolder);
    std::string realFolderOf(const std::string& folder);

    std::vector<std::unique_ptr<Folder>> m_folders;
    std::string m_homeTrash;
    std::string m_lastFolder;
    std::string m_lastRealFolder;
};

} // namespace platform
