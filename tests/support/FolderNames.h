#pragma once

#include "support/TempTree.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

/// Every name in a folder, sorted; empty when it cannot be read.
inline std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

/// Everything under `folder`, sorted, links not followed into: "name/" for a folder, followed by
/// what it holds; "name=content" for anything else (content only of regular files, links to them
/// included, so that a FIFO is never opened).
inline std::vector<std::string> everythingIn(const std::string& folder, const std::string& prefix = "")
{
    namespace fs = std::filesystem;
    std::vector<std::string> all;
    for (const std::string& name : namesIn(folder)) {
        const std::string path = folder + "/" + name;
        std::error_code error;
        if (fs::is_directory(fs::symlink_status(path, error))) {
            all.push_back(prefix + name + "/");
            const std::vector<std::string> inner = everythingIn(path, prefix + name + "/");
            all.insert(all.end(), inner.begin(), inner.end());
        } else {
            all.push_back(prefix + name + "=" + (fs::is_regular_file(path, error) ? TempTree::read(path) : ""));
        }
    }
    return all;
}
