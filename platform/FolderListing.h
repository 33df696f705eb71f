#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace platform {

/// True when `left` sorts before `right` in the order folder listings use: ASCII
/// letters folded to one case, ties broken by the raw bytes. Locale-independent, so
/// the same tree always lists the same way.
bool nameOrderLess(std::string_view left, std::string_view right);

/// All entries of one folder, read in one go through the kernel's directory entry
/// records and sorted by nameOrderLess. "." and ".." are left out; hidden entries
/// are kept. An entry is a folder when it is one or links to one.
class FolderListing {
public:
    /// Reads the folder at `path`. False when it cannot be opened or read (access
    /// refused, vanished, not a folder); the listing is then empty. A path longer than
    /// PATH_MAX is read too.
    bool read(const std::string& path);

    std::size_t size() const { return m_entries.size(); }
    std::string_view name(std::size_t index) const
    {
        const Entry& entry = m_entries[index];
        return std::string_view(m_records.get() + entry.offset, entry.length);
    }
    bool isFolder(std::size_t index) const { return m_entries[index].isFolder; }

    /// Device and inode of the folder last read, to recognise a folder that is met
    /// again through a link.
    dev_t device() const { return m_device; }
    ino_t inode() const { return m_inode; }

private:
    struct Entry {
        // The first sixteen folded bytes, big-endian, zero-padded: most pairs of names
        // are ordered by these two numbers alone.
        std::uint64_t key[2];
        std::uint32_t offset; // of the name in m_records, where the kernel wrote it
        std::uint16_t length;
        bool isFolder;
    };

    // Appends an entry for each record of the open folder; false when reading fails.
    bool readRecords(int folder);

    // The directory records as the kernel wrote them, back to back: the names are read
    // in place, so a folder costs no allocation per name.
    std::unique_ptr<char[]> m_records;
    std::size_t m_capacity = 0;
    std::vector<Entry> m_entries;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

} // namespace platform
