#pragma once

#include <cstdint>
#include <string>

namespace platform {

/// The modal dialog in which the user chooses a folder.
class FolderDialog {
public:
    /// Where the dialog opens. Desktop opens at the home folder with the whole file
    /// system reachable; the others open at the matching user folder, or at the home
    /// folder where the desktop has none.
    enum class Root { Desktop, Programs, Documents, Favorites, StartMenu, Computer, Network, Folder };

    struct Request {
        Root root = Root::Desktop;
        std::string folder;        // the start folder for Root::Folder
        std::string title;         // UTF-8
        bool showFiles = false;    // list files beside the folders (they cannot be chosen)
        std::uint64_t owner = 0;   // window id of the owner window, 0 for none
    };

    virtual ~FolderDialog() = default;

    /// Shows the dialog and returns once the user has closed it: the full path of the
    /// chosen folder without a trailing "/" ("/" itself for the root), or the empty
    /// text when the user cancelled.
    virtual std::string chooseFolder(const Request& request) = 0;
};

} // namespace platform
