#include "toolkit/clsFileFolder.h"

#include "platform/FileLookup.h"
#include "platform/Folders.h"
#include "platform/PathNames.h"

clsFileFolder::clsFileFolder(platform::UserServices services) : m_services(services) {}

std::string clsFileFolder::GetTempFolder() const
{
    return platform::tempFolder();
}

std::int32_t clsFileFolder::CreateFolder(const std::string& strCreateFolder) const
{
    return platform::createFolderWithParents(strCreateFolder);
}

bool clsFileFolder::FolderExist(const std::string& strFolder) const
{
    if (!platform::isAbsolutePath(strFolder))
        return false;
    if (strFolder.back() == '/')
        return platform::canListFolder(strFolder);
    return platform::canListFolder(strFolder + '/');
}

bool clsFileFolder::FileExist(const std::string& strFile) const
{
    return platform::visibleFileExists(strFile);
}

std::string clsFileFolder::GetFilePath(const std::string& strFileFullPath) const
{
    std::string folder;
    if (FileExist(strFileFullPath)) {
        folder = strFileFullPath;
    } else if (FolderExist(strFileFullPath)) {
        folder = strFileFullPath;
        if (folder.back() != '/')
            folder += '/';
    } else {
        return {};
    }
    if (!platform::removeFileSpec(folder))
        return {};
    return NullDel(folder);
}

std::string clsFileFolder::NullDel(std::string_view strBuffer)
{
    return std::string(strBuffer.substr(0, strBuffer.find('\0')));
}
