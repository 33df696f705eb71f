#include "platform/FolderListing.h"

#include "platform/LongPath.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

unsigned char foldAsciiCase(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Room kept after the records, so that the sixteen bytes read from the start of any name
// stay inside the buffer.
constexpr std::size_t kSlack = 16;
// A typical folder takes one call; a larger one grows the buffer when less than this is left.
constexpr std::size_t kFirstCapacity = 64 * 1024;
constexpr std::size_t kLeastCall = 32 * 1024;

// ASCII lower-case letters to upper case, eight bytes at once; every other byte,
// those of UTF-8 sequences included, stays as it is.
std::uint64_t foldAsciiCase8(std::uint64_t bytes)
{
    constexpr std::uint64_t ones = 0x0101010101010101;
    constexpr std::uint64_t highBits = 0x8080808080808080;
    const std::uint64_t low7 = bytes & ~highBits;
    // Per byte, with no carry into its neighbour: its high bit is set from 'a' on,
    // and past 'z'. Bytes of 0x80 and more are left out.
    const std::uint64_t fromA = low7 + (0x80 - 'a') * ones;
    const std::uint64_t pastZ = low7 + (0x80 - 'z' - 1) * ones;
    const std::uint64_t isLower = fromA & ~pastZ & ~bytes & highBits;
    return bytes - (isLower >> 2); // 0x80 >> 2 is the distance from 'a' to 'A'
}

// The `count` (at most 8) bytes at `bytes`, folded, as a big-endian number padded with
// zeros. Eight bytes are read whatever `count` is.
std::uint64_t foldedKey(const char* bytes, std::size_t count)
{
    if (count == 0)
        return 0;
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::little) {
        if (count < sizeof word)
            word &= (std::uint64_t{1} << (8 * count)) - 1;
        return __builtin_bswap64(foldAsciiCase8(word));
    } else {
        if (count < sizeof word)
            word &= ~std::uint64_t{0} << (8 * (sizeof word - count));
        return foldAsciiCase8(word);
    }
}

} // namespace

bool nameOrderLess(std::string_view left, std::string_view right)
{
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char a = foldAsciiCase(static_cast<unsigned char>(left[i]));
        const unsigned char b = foldAsciiCase(static_cast<unsigned char>(right[i]));
        if (a != b)
            return a < b;
    }
    if (left.size() != right.size())
        return left.size() < right.size();
    return left < right;
}

bool FolderListing::read(const std::string& path)
{
    m_entries.clear();
    // A folder deeper than the longest path is read too, reached a stretch at a time.
    const FileDescriptor folder(openLongPath(path, O_RDONLY | O_DIRECTORY));
    if (folder.get() < 0)
        return false;
    struct stat info {};
    if (::fstat(folder.get(), &info) != 0)
        return false;
    m_device = info.st_dev;
    m_inode = info.st_ino;
    if (!readRecords(folder.get())) {
        m_entries.clear();
        return false;
    }

    // Names hold no NUL, and folding never makes one, so a short name's zero padding
    // sorts it before the longer names it begins, as nameOrderLess does. Names that
    // agree in their first sixteen folded bytes are ordered by nameOrderLess itself.
    const char* const records = m_records.get();
    std::sort(m_entries.begin(), m_entries.end(), [records](const Entry& a, const Entry& b) {
        if (a.key[0] != b.key[0])
            return a.key[0] < b.key[0];
        if (a.key[1] != b.key[1])
            return a.key[1] < b.key[1];
        return nameOrderLess(std::string_view(records + a.offset, a.length),
                             std::string_view(records + b.offset, b.length));
    });
    return true;
}

bool FolderListing::readRecords(int folder)
{
    if (m_capacity == 0) {
        m_records = std::make_unique_for_overwrite<char[]>(kFirstCapacity + kSlack);
        m_capacity = kFirstCapacity;
    }
    std::size_t used = 0;
    for (;;) {
        // The records read so far stay where they are: the entries point into them.
        if (m_capacity - used < kLeastCall) {
            const std::size_t capacity = m_capacity * 2;
            auto larger = std::make_unique_for_overwrite<char[]>(capacity + kSlack);
            std::memcpy(larger.get(), m_records.get(), used);
            m_records = std::move(larger);
            m_capacity = capacity;
        }
        char* const start = m_records.get() + used;
        const ssize_t filled = ::getdents64(folder, start, m_capacity - used);
        if (filled < 0)
            return false;
        if (filled == 0)
            return true;
        for (ssize_t at = 0; at < filled;) {
            const auto* record = reinterpret_cast<const dirent64*>(start + at);
            at += record->d_reclen;
            if (isDotOrDotDot(record->d_name))
                continue;
            bool isFolder = record->d_type == DT_DIR;
            // Only links and file systems without a type field cost a stat.
            if (record->d_type == DT_LNK || record->d_type == DT_UNKNOWN) {
                struct stat target {};
                isFolder = ::fstatat(folder, record->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
            }
            const std::size_t length = std::strlen(record->d_name);
            const char* const name = record->d_name;
            m_entries.push_back({{foldedKey(name, std::min<std::size_t>(length, 8)),
                                  foldedKey(name + 8, length > 8 ? std::min<std::size_t>(length - 8, 8) : 0)},
                                 static_cast<std::uint32_t>(name - m_records.get()),
                                 static_cast<std::uint16_t>(length), isFolder});
        }
        used += static_cast<std::size_t>(filled);
    }
}

} // namespace platform
