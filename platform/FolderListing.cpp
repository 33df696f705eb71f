#include "platform/FolderListing.h"

#include "platform/LongPath.h"

#include <algorithm>
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
    m_names.clear();
    m_folded.clear();
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

    // One buffer per thread, large enough that a typical folder takes one call.
    thread_local std::vector<char> buffer(64 * 1024);
    for (;;) {
        const ssize_t filled = ::getdents64(folder.get(), buffer.data(), buffer.size());
        if (filled < 0) {
            m_names.clear();
            m_folded.clear();
            m_entries.clear();
            return false;
        }
        if (filled == 0)
            break;
        for (ssize_t at = 0; at < filled;) {
            const auto* record = reinterpret_cast<const dirent64*>(buffer.data() + at);
            at += record->d_reclen;
            if (isDotOrDotDot(record->d_name))
                continue;
            bool isFolder = record->d_type == DT_DIR;
            // Only links and file systems without a type field cost a stat.
            if (record->d_type == DT_LNK || record->d_type == DT_UNKNOWN) {
                struct stat target {};
                isFolder = ::fstatat(folder.get(), record->d_name, &target, 0) == 0
                    && S_ISDIR(target.st_mode);
            }
            const std::size_t length = std::strlen(record->d_name);
            const std::size_t offset = m_names.size();
            m_names.append(record->d_name, length);
            m_folded.append(record->d_name, length);
            std::uint64_t key = 0;
            for (std::size_t i = offset; i < offset + length; ++i) {
                const unsigned char folded = foldAsciiCase(static_cast<unsigned char>(m_folded[i]));
                m_folded[i] = static_cast<char>(folded);
                if (i - offset < sizeof key)
                    key |= std::uint64_t{folded} << (8 * (sizeof key - 1 - (i - offset)));
            }
            m_entries.push_back({key, static_cast<std::uint32_t>(offset),
                                 static_cast<std::uint32_t>(length), isFolder});
        }
    }

    // The first eight folded bytes, as one number, order most pairs of names; the
    // rest of the folded copies (compared with memcmp) the others. Names hold no NUL,
    // so a short name's zero padding sorts it before the longer names it begins. The
    // raw bytes only decide between names that fold alike.
    const std::string_view names(m_names);
    const std::string_view folded(m_folded);
    std::sort(m_entries.begin(), m_entries.end(), [names, folded](const Entry& a, const Entry& b) {
        if (a.key != b.key)
            return a.key < b.key;
        const int order = folded.substr(a.offset, a.length).compare(folded.substr(b.offset, b.length));
        if (order != 0)
            return order < 0;
        return names.substr(a.offset, a.length) < names.substr(b.offset, b.length);
    });
    return true;
}

} // namespace platform
