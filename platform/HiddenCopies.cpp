#include "platform/HiddenCopies.h"

#include "platform/FolderListing.h"

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::string_view kPrefix = ".quorvane-";
constexpr std::string_view kSuffix = ".tmp";

// The host's name as a name may hold it.
const std::string& hostTag()
{
    static const std::string tag = [] {
        char host[HOST_NAME_MAX + 1] = {};
        if (::gethostname(host, sizeof host - 1) != 0 || host[0] == '\0')
            return std::string("localhost");
        std::string name(host);
        for (char& c : name) {
            const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || c == '-' || c == '.' || c == '_';
            if (!plain)
                c = '_';
        }
        return name;
    }();
    return tag;
}

// The number after the last '-' of `text`, taken off the end with its '-'.
bool takeNumberFromEnd(std::string_view& text, long& number)
{
    const std::size_t dash = text.rfind('-');
    if (dash == std::string_view::npos || dash + 1 == text.size())
        return false;
    const std::string_view digits = text.substr(dash + 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number <= 0)
        return false;
    text = text.substr(0, dash);
    return true;
}

bool processEnded(long pid)
{
    if (pid > INT_MAX)
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

std::string hiddenCopyName(const std::string& folder)
{
    static std::atomic<unsigned> counter{0};
    std::string path = folder == "/" ? std::string() : folder;
    path.append("/").append(kPrefix).append(hostTag());
    path.append("-").append(std::to_string(::getpid()));
    path.append("-").append(std::to_string(++counter)).append(kSuffix);
    return path;
}

bool isLeftOverCopy(std::string_view name)
{
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix))
        return false;
    std::string_view middle = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    long count = 0;
    long pid = 0;
    return takeNumberFromEnd(middle, count) && takeNumberFromEnd(middle, pid) && middle == hostTag()
        && pid != ::getpid() && processEnded(pid);
}

void removeLeftOverCopies(const std::string& folder)
{
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0)
        return;
    // Where the file system has unnamed files, copies are written unnamed and none is
    // ever left under a name: no listing of what may be a large folder, run after run.
    if (const int probe = ::openat(folderFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600); probe >= 0) {
        ::close(probe);
        ::close(folderFd);
        return;
    }
    FolderListing listing;
    if (!listing.read(folder)) {
        ::close(folderFd);
        return;
    }
    std::string within = folder;
    if (within.empty() || within.back() != '/')
        within += '/';
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const std::string name(listing.name(i));
        if (!isLeftOverCopy(name))
            continue;
        // Links are not followed: a link is no copy of ours.
        struct stat entry {};
        if (::fstatat(folderFd, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(entry.st_mode)) {
            ::unlinkat(folderFd, name.c_str(), 0);
            continue;
        }
        if (!S_ISDIR(entry.st_mode))
            continue;
        FolderListing inside;
        if (!inside.read(within + name))
            continue;
        for (std::size_t j = 0; j < inside.size(); ++j) {
            // A thread's folder holds its copies, each named by the same process.
            const std::string copy = within + name + '/' + std::string(inside.name(j));
            struct stat held {};
            if (isLeftOverCopy(inside.name(j)) && ::lstat(copy.c_str(), &held) == 0 && S_ISREG(held.st_mode))
                ::unlink(copy.c_str());
        }
        ::unlinkat(folderFd, name.c_str(), AT_REMOVEDIR); // fails, as it should, if anything else is there
    }
    ::close(folderFd);
}

} // namespace platform
