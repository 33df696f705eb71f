#pragma once

#include "platform/FolderDialog.h"

namespace platform {

/// The folder dialog of the program: Qt's own folder chooser, in Japanese, listing
/// folders only unless asked to show files.
class QtFolderDialog final : public FolderDialog {
public:
    std::string chooseFolder(const Request& request) override;
};

} // namespace platform
