#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

/// A temporary folder for one test, removed with everything in it at the end. Its
/// root is readable by every user, so an unprivileged child process can work in it.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    /// The tree's root folder, without a trailing "/".
    const std::string& root() const { return m_root; }
    std::string path(std::string_view relative) const;

    /// Each creates the entry and its missing folders, and returns its path.
    std::string file(std::string_view relative, std::string_view content = "x");
    std::string folder(std::string_view relative);
    std::string link(std::string_view relative, std::string_view target);
    /// A file `levels` folders of 200 bytes' names below `relative`, however long its
    /// path gets (made a folder at a time); returns that path.
    std::string deepFile(std::string_view relative, int levels, std::string_view name,
                         std::string_view content);

    /// The text with every "{R}" replaced by root(), so that test rows can name paths
    /// inside the tree before it exists.
    std::string expand(std::string text) const;
    std::vector<std::string> expand(const std::vector<std::string>& texts) const;

    /// Reads a whole file; empty when it cannot be read.
    static std::string read(const std::string& path);
    /// True when an entry (a dangling link included) exists at `path`.
    static bool exists(const std::string& path);

    /// A tree under /dev/shm when that is a writable file system other than the one
    /// holding `first`; null otherwise.
    static std::unique_ptr<TempTree> onOtherFileSystem(const TempTree& first);

private:
    explicit TempTree(const std::string& base);

    std::string m_root;
};
