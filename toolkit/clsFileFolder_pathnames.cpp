// Path-name functions: long and short forms, the last component and its variants,
// extensions, and the chain of folders above a path.
#include "toolkit/clsFileFolder.h"

#include "platform/PathNames.h"

#include <climits>

namespace {

// The longest text the host's path calls take; longer copies are cut here.
constexpr std::size_t kPathBytes = PATH_MAX;

} // namespace

std::string clsFileFolder::GetLongPath(const std::string& strShortPath) const
{
    return platform::existingPathForm(NullDel(strShortPath)).value_or(std::string());
}

std::string clsFileFolder::GetShortPath(const std::string& strLongPath) const
{
    return platform::existingPathForm(NullDel(strLongPath)).value_or(std::string());
}

// The functions below take a path as the host's path calls do: it ends at its first
// NUL, and whatever follows is no part of it ("/a/b.txt\0/c/d" names b.txt).

std::string clsFileFolder::GetFileNameA(const std::string& strFileFullPath) const
{
    const std::string path = NullDel(strFileFullPath);
    return path.substr(platform::findFileName(path), kPathBytes);
}

std::string clsFileFolder::GetFileNameAB(const std::string& strFileFullPath) const
{
    const std::string path = NullDel(strFileFullPath);
    if (const std::size_t start = platform::findFileName(path); start > 0)
        return path.substr(start);
    // Nothing to strip: only a NUL already in the text yields a name.
    return path.size() < strFileFullPath.size() ? path : std::string();
}

std::string clsFileFolder::GetFileName(const std::string& strFileFullPath) const
{
    return platform::fileTitle(NullDel(strFileFullPath));
}

std::string clsFileFolder::GetFileTypeA(const std::string& strFileFullPath) const
{
    const std::string path = NullDel(strFileFullPath);
    const std::string extension = path.substr(platform::findExtension(path), kPathBytes);
    return extension.empty() ? extension : extension.substr(1);
}

std::string clsFileFolder::GetNoTypeFileNameA(const std::string& strFileFullPath) const
{
    const std::string name = GetFileNameA(strFileFullPath);
    const std::string extension = GetFileTypeA(strFileFullPath);
    if (name.empty() || extension.empty() || name.size() <= extension.size())
        return {};
    return name.substr(0, name.size() - extension.size() - 1);
}

std::string clsFileFolder::GetFileType(const std::string& strFilePath, bool blnExistCheck,
                                       bool blnNameCheck) const
{
    if (!blnExistCheck && !FileExist(strFilePath))
        return {};
    const std::string text = blnNameCheck ? strFilePath : GetFileName(strFilePath);
    const std::size_t dot = text.rfind('.');
    return dot == std::string::npos ? std::string() : text.substr(dot + 1);
}

PathList clsFileFolder::GetSplitPath(const std::string& strFileFullPath) const
{
    std::string folder = GetFilePath(strFileFullPath);
    if (folder.empty())
        return PathList(1);
    if (folder == "/")
        return PathList{folder};
    if (folder.back() == '/')
        folder.pop_back();

    // Each element extends the one before by the next part; empty parts are kept, so
    // "//server/share" starts with "/", "/", "//server".
    PathList chain;
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = folder.find('/', start);
        const std::string_view part =
            std::string_view(folder).substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        if (chain.empty())
            chain.push_back(std::string(part) + '/');
        else if (chain.size() == 1)
            chain.push_back(chain.back() + std::string(part));
        else
            chain.push_back(chain.back() + '/' + std::string(part));
        if (slash == std::string::npos)
            break;
        start = slash + 1;
    }
    return chain;
}
