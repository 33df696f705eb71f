#include "settings/SettingsLocation.h"

#include <cstdlib>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace settings {

namespace {

constexpr const char* kFileName = "Quorvane.qvn";

bool isAbsolute(const char* path)
{
    return path != nullptr && path[0] == '/';
}

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::string inFolder(const std::string& folder, const char* name)
{
    return (folder == "/" ? std::string() : folder) + '/' + name;
}

bool entryExists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

} // namespace

Layout builtLayout()
{
#if defined(QUORVANE_INSTALLED_LAYOUT) && QUORVANE_INSTALLED_LAYOUT
    return Layout::Installed;
#else
    return Layout::Portable;
#endif
}

std::string programFolder()
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer)
        return ".";
    std::string path(buffer, static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string settingsFilePath(Layout layout, const std::string& programFolder,
                             const char* xdgConfigHome, const char* home)
{
    const std::string besideProgram = inFolder(programFolder, kFileName);
    if (layout == Layout::Portable || entryExists(besideProgram))
        return besideProgram;

    std::string configHome;
    if (isAbsolute(xdgConfigHome))
        configHome = withoutTrailingSlashes(xdgConfigHome);
    else if (isAbsolute(home))
        configHome = inFolder(withoutTrailingSlashes(home), ".config");
    else
        return besideProgram; // no home to keep settings in
    return inFolder(configHome, "Quorvane") + '/' + kFileName;
}

std::string settingsFilePath()
{
    return settingsFilePath(builtLayout(), programFolder(), std::getenv("XDG_CONFIG_HOME"),
                            std::getenv("HOME"));
}

} // namespace settings
