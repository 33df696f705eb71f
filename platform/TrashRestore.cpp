#include "platform/TrashRestore.h"

#include "platform/Folders.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::string percentDecoded(const std::string& text)
{
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            decoded += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::int64_t localSeconds(const std::string& date)
{
    std::tm local {};
    local.tm_isdst = -1;
    if (::strptime(date.c_str(), "%Y-%m-%dT%H:%M:%S", &local) == nullptr)
        return 0;
    return static_cast<std::int64_t>(std::mktime(&local));
}

// The folder an entry was trashed from as the trash records it: links resolved.
std::string recordedPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    char resolved[PATH_MAX];
    const std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    if (::realpath(folder.c_str(), resolved) == nullptr)
        return path;
    return (std::string(resolved) == "/" ? "" : std::string(resolved)) + path.substr(slash);
}

} // namespace

void TrashRestore::read(const TrashCan::Place& place)
{
    if (!m_read.insert(place.trash).second)
        return;
    const std::string infoFolder = place.trash + "/info";
    DIR* listing = ::opendir(infoFolder.c_str());
    if (!listing)
        return;
    const std::string suffix = ".trashinfo";
    while (const dirent* item = ::readdir(listing)) {
        std::string name = item->d_name;
        if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        std::ifstream info(infoFolder + '/' + name);
        std::string line, path, date;
        while (std::getline(info, line)) {
            if (line.rfind("Path=", 0) == 0)
                path = percentDecoded(line.substr(5));
            else if (line.rfind("DeletionDate=", 0) == 0)
                date = line.substr(13);
        }
        const std::int64_t deleted = localSeconds(date);
        if (path.empty() || deleted < m_since)
            continue;
        if (path.front() != '/')
            path = (place.top == "/" ? "" : place.top) + "/" + path;
        name.resize(name.size() - suffix.size());
        m_byPath[path].push_back({place.trash, std::move(name), deleted});
    }
    ::closedir(listing);
}

int TrashRestore::restore(const std::string& path)
{
    const std::string recorded = recordedPath(path);
    std::string existing = recorded.substr(0, recorded.rfind('/'));
    while (existing.size() > 1 && ::access(existing.c_str(), F_OK) != 0)
        existing = existing.substr(0, std::max<std::size_t>(existing.rfind('/'), 1));
    for (const TrashCan::Place& place : TrashCan::placesFor(existing.empty() ? "/" : existing))
        read(place);
    const auto found = m_byPath.find(recorded);
    if (found == m_byPath.end() || found->second.empty())
        return ENOENT;
    std::vector<Entry>& entries = found->second;
    auto newest = entries.begin();
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->deleted > newest->deleted)
            newest = it;
    }
    if (!createParentFolders(path))
        return errno;
    const std::string file = newest->trash + "/files/" + newest->name;
    if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) != 0)
        return errno;
    ::unlink((newest->trash + "/info/" + newest->name + ".trashinfo").c_str());
    entries.erase(newest);
    return 0;
}

} // namespace platform
