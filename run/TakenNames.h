#pragma once

#include <string>
#include <unordered_set>

namespace run {

/// Answers whether a name in the destination folder is taken, that is whether an
/// entry of any kind (hidden files, folders and links included) bears it. For a long
/// plan the folder is read once and names are looked up in memory: a lookup on disk
/// costs a system call each, and a plan asks once per entry. Something another
/// program creates after that reading is caught just before each copy or move.
class TakenNames {
public:
    /// `folder` ends in "/". With `readFolder` false every question goes to the disk.
    TakenNames(std::string folder, bool foldsCase, bool readFolder);

    bool isTaken(const std::string& path) const;

private:
    std::string m_folder;
    bool m_foldsCase;
    bool m_listed = false;
    std::unordered_set<std::string> m_names; // keys, folded where the folder folds case
};

} // namespace run
