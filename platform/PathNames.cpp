#include "platform/PathNames.h"

#include <sys/stat.h>

namespace platform {

bool isAbsolutePath(std::string_view path)
{
    return !path.empty() && path.front() == '/';
}

std::size_t findFileName(std::string_view path)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        if (path[i] == '/' && path[i + 1] != '/')
            start = i + 1;
    }
    return start;
}

std::size_t findExtension(std::string_view path)
{
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '.')
            dot = i;
        else if (path[i] == '/' || path[i] == ' ')
            dot = std::string_view::npos;
    }
    return dot == std::string_view::npos ? path.size() : dot;
}

bool removeFileSpec(std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        if (path.empty())
            return false;
        path.clear();
        return true;
    }
    // Leading slashes form the root and are kept.
    const std::size_t root = path.find_first_not_of('/');
    if (root == std::string::npos || slash < root) {
        if (path.size() == slash + 1)
            return false; // nothing but the root
        path.resize(slash + 1);
        return true;
    }
    path.resize(slash);
    return true;
}

std::string fileTitle(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::optional<std::string> existingPathForm(const std::string& path)
{
    struct stat info {};
    if (!isAbsolutePath(path) || ::lstat(path.c_str(), &info) != 0)
        return std::nullopt;
    return path;
}

} // namespace platform
