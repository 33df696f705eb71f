#pragma once

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

/// Every name in a folder, "." and ".." left out, sorted; empty when it cannot be read.
inline std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* listing = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(listing)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(listing);
    }
    std::sort(names.begin(), names.end());
    return names;
}

/// Everything under `folder`, sorted, links not followed into: "name/" for a folder, followed by
/// what it holds; "name=content" for anything else (content only of regular files, links to them
/// included, so that a FIFO is never opened).
inline std::vector<std::string> everythingIn(const std::string& folder, const std::string& prefix = "")
{
    std::vector<std::string> all;
    for (const std::string& name : namesIn(folder)) {
        const std::string path = folder + "/" + name;
        struct stat status {};
        if (::lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
            all.push_back(prefix + name + "/");
            for (std::string& inner : everythingIn(path, prefix + name + "/"))
                all.push_back(std::move(inner));
            continue;
        }
        std::string content;
        if (::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
            std::ifstream in(path, std::ios::binary);
            content.assign(std::istreambuf_iterator<char>(in), {});
        }
        all.push_back(prefix + name + "=" + content);
    }
    return all;
}
