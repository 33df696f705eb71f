#include "app/TypedPath.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

std::string absoluteFromWorkingFolder(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return path;
    char* working = ::getcwd(nullptr, 0);
    if (working == nullptr)
        return path; // no working folder left: the text names nothing, and the run says so
    std::string absolute = working;
    std::free(working);
    std::string_view rest = path;
    for (;;) {
        const std::string_view part = rest.substr(0, rest.find('/'));
        if (part != "." && part != ".." && !(part.empty() && !rest.empty()))
            break;
        if (part == "..")
            absolute.resize(std::max<std::size_t>(absolute.rfind('/'), 1));
        rest.remove_prefix(std::min(part.size() + 1, rest.size()));
    }
    if (!rest.empty()) {
        if (absolute.back() != '/')
            absolute += '/';
        absolute += rest;
    }
    return absolute;
}
