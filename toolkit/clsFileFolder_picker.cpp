// The folder picker: the folder dialog at a standard place or at a named folder.
#include "platform/MessageBox.h"
#include "platform/TextCatalog.h"
#include "toolkit/clsFileFolder.h"

namespace {

using Root = platform::FolderDialog::Root;

// Option bits of lngBrowseFlags.
constexpr std::int32_t kRealFolderOnly = 0x0001;
constexpr std::int32_t kDontNetwork = 0x0002;
constexpr std::int32_t kAddStatus = 0x0004;
constexpr std::int32_t kNetworkOnlySelect = 0x0008;
constexpr std::int32_t kAddFileText = 0x0010;
constexpr std::int32_t kInvalidItem = 0x0020;
constexpr std::int32_t kNetworkOnly = 0x1000;
constexpr std::int32_t kNetworkPrintOnly = 0x2000;
constexpr std::int32_t kAllResource = 0x4000;

} // namespace

std::string clsFileFolder::ReferDesktop() { return ReferFolder(Root::Desktop, {}); }
std::string clsFileFolder::ReferPrograms() { return ReferFolder(Root::Programs, {}); }
std::string clsFileFolder::ReferPersonal() { return ReferFolder(Root::Documents, {}); }
std::string clsFileFolder::ReferFavorites() { return ReferFolder(Root::Favorites, {}); }
std::string clsFileFolder::ReferStartMenu() { return ReferFolder(Root::StartMenu, {}); }
std::string clsFileFolder::ReferDrives() { return ReferFolder(Root::Computer, {}); }
std::string clsFileFolder::ReferNetwork() { return ReferFolder(Root::Network, {}); }

std::string clsFileFolder::ReferUser(const std::string& UserPath)
{
    if (!FolderExist(UserPath)) {
        m_services.messages.showMessage(platform::translate("clsFileFolder", "存在しないフォルダです"));
        return {};
    }
    return ReferFolder(Root::Folder, UserPath);
}

std::string clsFileFolder::ReferFolder(Root root, const std::string& strRootPath)
{
    platform::FolderDialog::Request request;
    request.root = root;
    request.folder = strRootPath;
    request.title = platform::translate(
        "clsFileFolder", "適当なフォルダをクリックして選択状態にしてから ＯＫ を押して下さい");
    request.showFiles = browseFlag(kAllResource);
    request.owner = lngTarget;
    std::string chosen = m_services.folders.chooseFolder(request);
    // Only a computer or a printer could be confirmed; neither has a folder path.
    if (browseFlag(kNetworkOnly) || browseFlag(kNetworkPrintOnly))
        return {};
    return NullDel(chosen);
}

bool clsFileFolder::RealFolderOnly() const { return browseFlag(kRealFolderOnly); }
void clsFileFolder::RealFolderOnly(bool blnValue) { browseFlag(kRealFolderOnly, blnValue); }
bool clsFileFolder::DontNetwork() const { return browseFlag(kDontNetwork); }
void clsFileFolder::DontNetwork(bool blnValue) { browseFlag(kDontNetwork, blnValue); }
bool clsFileFolder::AddStatus() const { return browseFlag(kAddStatus); }
void clsFileFolder::AddStatus(bool blnValue) { browseFlag(kAddStatus, blnValue); }
bool clsFileFolder::NetworkOnlySelect() const { return browseFlag(kNetworkOnlySelect); }
void clsFileFolder::NetworkOnlySelect(bool blnValue) { browseFlag(kNetworkOnlySelect, blnValue); }
bool clsFileFolder::AddFileText() const { return browseFlag(kAddFileText); }
void clsFileFolder::AddFileText(bool blnValue) { browseFlag(kAddFileText, blnValue); }
bool clsFileFolder::InvalidItem() const { return browseFlag(kInvalidItem); }
void clsFileFolder::InvalidItem(bool blnValue) { browseFlag(kInvalidItem, blnValue); }
bool clsFileFolder::NetworkOnly() const { return browseFlag(kNetworkOnly); }
void clsFileFolder::NetworkOnly(bool blnValue) { browseFlag(kNetworkOnly, blnValue); }
bool clsFileFolder::NetworkPrintOnly() const { return browseFlag(kNetworkPrintOnly); }
void clsFileFolder::NetworkPrintOnly(bool blnValue) { browseFlag(kNetworkPrintOnly, blnValue); }
bool clsFileFolder::AllResource() const { return browseFlag(kAllResource); }
void clsFileFolder::AllResource(bool blnValue) { browseFlag(kAllResource, blnValue); }
