#pragma once

#include <algorithm>
#include <dirent.h>
#include <string>
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
