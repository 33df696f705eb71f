#pragma once

#include <string>

namespace platform {

/// Removes entries that are not folders, one path after another, from the descriptor of
/// the folder that holds them: the folder is opened once and kept open while the next
/// path lies in it too, so a long list of files walks no path again.
class NonFolderRemover {
public:
    NonFolderRemover() = default;
    NonFolderRemover(const NonFolderRemover&) = delete;
    NonFolderRemover& operator=(const NonFolderRemover&) = delete;
    ~NonFolderRemover();

    /// Unlinks the file, link or other non-folder at `path` (never what a link points
    /// to). Returns 0, or the errno of the failure; EISDIR when the entry is a folder,
    /// which is never removed.
    int remove(const std::string& path);

private:
    std::string m_folder;
    int m_folderFd = -1;
};

} // namespace platform
