#pragma once

#include <functional>
#include <string>
#include <string_view>
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

    /// Whether `name` is taken in the folder.
    bool isNameTaken(std::string_view name) const;

private:
    std::string m_folder;
    bool m_foldsCase;
    bool m_listed = false;
    // Looked up by string_view, without making a string for each question.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    };
    std::unordered_set<std::string, NameHash, std::equal_to<>> m_names; // keys, folded where the folder folds case
};

} // namespace run
