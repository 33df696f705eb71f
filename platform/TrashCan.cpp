#include "platform/TrashCan.h"

#include "platform/FileCopier.h"
#include "platform/FolderListing.h"
#include "platform/Folders.h"
#include "platform/OperationTexts.h"
#include "platform/Utf8Boundary.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr std::string_view kInfoSuffix = ".trashinfo";
// Room left in a name for the number and the info suffix.
constexpr std::size_t kLongestBaseName = NAME_MAX - 24;

std::size_t extensionStart(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos || dot == 0 ? name.size() : dot;
}

std::string numberedName(std::string_view base, unsigned number)
{
    const std::size_t extension = extensionStart(base);
    return std::string(base.substr(0, extension)) + "." + std::to_string(number)
        + std::string(base.substr(extension));
}

// The number in a trailing ".123" of `text`, or 0 when there is none.
unsigned trailingNumber(std::string_view text, std::size_t& dot)
{
    dot = text.rfind('.');
    if (dot == std::string_view::npos || dot + 1 == text.size() || text.size() - dot > 10)
        return 0;
    unsigned number = 0;
    for (const char c : text.substr(dot + 1)) {
        if (c < '0' || c > '9')
            return 0;
        number = number * 10 + static_cast<unsigned>(c - '0');
    }
    return number;
}

// Percent-encodes a path byte by byte, keeping what needs no escape in a URI path.
std::string percentEncoded(std::string_view path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')
            || (byte >= '0' && byte <= '9') || std::string_view("/-_.~!*'()").find(c)
                != std::string_view::npos;
        if (plain) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 0x0F];
        }
    }
    return encoded;
}

std::string localTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

// The top folder of the file system that holds `realFolder`: the highest folder
// above it still on `device`.
std::string mountTop(std::string realFolder, dev_t device)
{
    while (realFolder != "/") {
        const std::size_t slash = realFolder.rfind('/');
        std::string parent(realFolder, 0, slash == std::string::npos ? 0 : slash);
        if (parent.empty())
            parent.push_back('/'); // (assigning "/" trips a false -Wrestrict in GCC 12)
        struct stat status {};
        if (::stat(parent.c_str(), &status) != 0 || status.st_dev != device)
            break;
        realFolder = std::move(parent);
    }
    return realFolder;
}

// A folder that is ours alone: a real folder (not a link), owned by us.
bool isPrivateFolder(int at, const char* name)
{
    struct stat status {};
    return ::fstatat(at, name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(status.st_mode)
        && status.st_uid == ::getuid();
}

int openFolderNoFollow(int at, const char* name)
{
    return ::openat(at, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

} // namespace

struct TrashCan::Folder {
    dev_t device = 0;
    bool usable = false;
    std::string topFolder; // empty for the home trash, whose Path lines are absolute
    std::string infoPath;
    int filesFd = -1;
    int infoFd = -1;
    bool indexed = false;
    // Highest number in use for each name, filled from the info folder at the first
    // clash, so that a clash costs one listing instead of one try per number.
    std::unordered_map<std::string, unsigned> highest;

    ~Folder()
    {
        if (filesFd >= 0)
            ::close(filesFd);
        if (infoFd >= 0)
            ::close(infoFd);
    }

    bool open(const std::string& trashPath)
    {
        const int trashFd = openFolderNoFollow(AT_FDCWD, trashPath.c_str());
        if (trashFd < 0)
            return false;
        ::mkdirat(trashFd, "files", 0700);
        ::mkdirat(trashFd, "info", 0700);
        filesFd = openFolderNoFollow(trashFd, "files");
        infoFd = openFolderNoFollow(trashFd, "info");
        infoPath = trashPath + "/info";
        ::close(trashFd);
        return filesFd >= 0 && infoFd >= 0;
    }

    void noteTaken(std::string_view name, unsigned number)
    {
        unsigned& known = highest[std::string(name)];
        known = std::max(known, number);
    }

    void buildIndex()
    {
        indexed = true;
        FolderListing listing;
        if (!listing.read(infoPath))
            return;
        for (std::size_t i = 0; i < listing.size(); ++i) {
            std::string_view name = listing.name(i);
            if (name.size() <= kInfoSuffix.size() || !name.ends_with(kInfoSuffix))
                continue;
            name.remove_suffix(kInfoSuffix.size());
            noteTaken(name, 1);
            std::size_t dot = 0;
            // "stem.N" and "stem.N.ext" both count towards the name they were made from.
            if (const unsigned number = trailingNumber(name, dot))
                noteTaken(name.substr(0, dot), number);
            const std::size_t extension = extensionStart(name);
            const std::string_view stem = name.substr(0, extension);
            if (const unsigned number = trailingNumber(stem, dot))
                noteTaken(std::string(stem.substr(0, dot)) + std::string(name.substr(extension)),
                          number);
        }
    }
};

TrashCan::TrashCan() : m_homeTrash(homeTrashPath()) {}

std::vector<TrashCan::Place> TrashCan::placesFor(const std::string& realFolder)
{
    std::vector<Place> places{{homeTrashPath(), {}}};
    struct stat status {};
    if (::stat(realFolder.c_str(), &status) != 0)
        return places;
    const std::string top = mountTop(realFolder, status.st_dev);
    const std::string prefix = top == "/" ? "" : top;
    const std::string uid = std::to_string(::getuid());
    places.push_back({prefix + "/.Trash/" + uid, top});
    places.push_back({prefix + "/.Trash-" + uid, top});
    return places;
}

TrashCan::~TrashCan() = default;

std::string TrashCan::homeTrashPath()
{
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/')
        return std::string(dataHome) + "/Trash";
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : "/";
    }
    return std::string(home) + "/.local/share/Trash";
}

std::string TrashCan::realFolderOf(const std::string& folder)
{
    // Entries of one list mostly share their folder: resolve each folder once.
    if (folder != m_lastFolder || m_lastRealFolder.empty()) {
        char resolved[PATH_MAX];
        m_lastFolder = folder;
        m_lastRealFolder = ::realpath(folder.c_str(), resolved) ? resolved : "";
    }
    return m_lastRealFolder;
}

bool TrashCan::openHomeTrash(Folder& folder)
{
    const std::string dataHome = m_homeTrash.substr(0, m_homeTrash.rfind('/'));
    createFolderWithParents(dataHome);
    if (!canListFolder(dataHome))
        return false;
    ::mkdir(m_homeTrash.c_str(), 0700);
    return folder.open(m_homeTrash);
}

bool TrashCan::openTopTrash(Folder& folder, const std::string& realFolder)
{
    folder.topFolder = mountTop(realFolder, folder.device);
    const std::string top = folder.topFolder == "/" ? "" : folder.topFolder;
    const std::string uid = std::to_string(::getuid());

    // An administrator's shared .Trash counts only when it is a real sticky folder,
    // so that nobody can slip another user's folder or a link in its place.
    struct stat shared {};
    std::string trashPath;
    if (::lstat((top + "/.Trash").c_str(), &shared) == 0 && S_ISDIR(shared.st_mode)
        && (shared.st_mode & S_ISVTX)) {
        trashPath = top + "/.Trash/" + uid;
        ::mkdir(trashPath.c_str(), 0700);
        if (!isPrivateFolder(AT_FDCWD, trashPath.c_str()))
            trashPath.clear();
    }
    if (trashPath.empty()) {
        trashPath = top + "/.Trash-" + uid;
        ::mkdir(trashPath.c_str(), 0700);
        if (!isPrivateFolder(AT_FDCWD, trashPath.c_str()))
            return false;
    }
    return folder.open(trashPath);
}

TrashCan::Folder* TrashCan::folderFor(dev_t device, const std::string& realFolder)
{
    for (const auto& folder : m_folders) {
        if (folder->device == device)
            return folder->usable ? folder.get() : nullptr;
    }
    auto folder = std::make_unique<Folder>();
    folder->device = device;

    // The home trash serves its own file system; its folder may not exist yet, so
    // the nearest folder above it that does tells the file system.
    std::string probe = m_homeTrash;
    struct stat status {};
    while (::stat(probe.c_str(), &status) != 0 && probe.size() > 1)
        probe = probe.substr(0, std::max<std::size_t>(probe.rfind('/'), 1));
    const bool home = status.st_dev == device;
    folder->usable = home ? openHomeTrash(*folder) : openTopTrash(*folder, realFolder);
    m_folders.push_back(std::move(folder));
    return m_folders.back()->usable ? m_folders.back().get() : nullptr;
}

int TrashCan::trash(const std::string& path)
{
    std::string entry = path;
    while (entry.size() > 1 && entry.back() == '/')
        entry.pop_back();
    const std::size_t slash = entry.rfind('/');
    if (slash == std::string::npos || entry == "/")
        return EINVAL;
    struct stat status {};
    if (::lstat(entry.c_str(), &status) != 0)
        return errno;

    const std::string name = entry.substr(slash + 1);
    const std::string realFolder = realFolderOf(slash == 0 ? "/" : entry.substr(0, slash));
    if (realFolder.empty())
        return errno != 0 ? errno : ENOENT;
    Folder* folder = folderFor(status.st_dev, realFolder);
    if (!folder)
        return operation_texts::kNoTrash;

    const std::string fullPath = (realFolder == "/" ? "" : realFolder) + "/" + name;
    const std::string recorded = folder->topFolder.empty()
        ? fullPath
        : fullPath.substr(folder->topFolder == "/" ? 1 : folder->topFolder.size() + 1);
    const std::string info = "[Trash Info]\nPath=" + percentEncoded(recorded)
        + "\nDeletionDate=" + localTimeNow() + "\n";

    std::string base = name;
    if (base.size() > kLongestBaseName) {
        const std::size_t extension = extensionStart(base);
        const std::size_t keep = base.size() - extension < 16 ? base.size() - extension : 0;
        // Cut where a character ends, so that the shortened name stays readable.
        const std::size_t cut = characterBoundaryAtMost(base, kLongestBaseName - keep);
        base = base.substr(0, cut) + base.substr(base.size() - keep);
    }
    unsigned number = 0;
    if (folder->indexed) {
        if (const auto known = folder->highest.find(base); known != folder->highest.end())
            number = known->second + 1;
    }
    for (;;) {
        const std::string trashName = number == 0 ? base : numberedName(base, number);
        const std::string infoName = trashName + std::string(kInfoSuffix);
        // The info file is made first and exclusively: it reserves the name, and an
        // entry in the trash always has its record of where it came from.
        const int fd = ::openat(folder->infoFd, infoName.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        int error = 0;
        if (fd < 0) {
            error = errno;
        } else {
            const bool written =
                ::write(fd, info.data(), info.size()) == static_cast<ssize_t>(info.size());
            if (!written)
                error = errno != 0 ? errno : EIO;
            if (::close(fd) != 0 && error == 0)
                error = errno;
            if (error == 0)
                error = moveName(AT_FDCWD, entry.c_str(), folder->filesFd, trashName.c_str(),
                                 Placement::NeverReplace);
            if (error != 0)
                ::unlinkat(folder->infoFd, infoName.c_str(), 0);
        }
        if (error == 0) {
            if (folder->indexed)
                folder->noteTaken(base, std::max(number, 1u));
            return 0;
        }
        if (error != EEXIST)
            return error == EXDEV ? operation_texts::kNoTrash : error;
        if (!folder->indexed)
            folder->buildIndex();
        number = std::max({number + 1, 2u, folder->highest[base] + 1});
    }
}

} // namespace platform
