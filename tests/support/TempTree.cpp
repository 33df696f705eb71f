#include "support/TempTree.h"

#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <ftw.h>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void makeFolders(const std::string& path)
{
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0755);
    ::mkdir(path.c_str(), 0755);
}

std::string parentOf(const std::string& path)
{
    return path.substr(0, path.rfind('/'));
}

// Gives the owner back every folder a test locked, so that the tree can be removed.
int openUp(const char* path, const struct stat* info, int type, FTW*)
{
    if (type == FTW_D || type == FTW_DNR)
        ::chmod(path, (info->st_mode & 07777) | 0700);
    return 0;
}

// Removes `name` in the folder `parent` with all it holds, one folder's descriptor at a
// time, so that trees deeper than the longest path go too.
void removeAt(int parent, const char* name)
{
    if (::unlinkat(parent, name, 0) == 0)
        return;
    const int folder = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return;
    if (DIR* listing = ::fdopendir(folder)) {
        std::vector<std::string> names;
        while (const dirent* entry = ::readdir(listing))
            if (std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..")
                names.emplace_back(entry->d_name);
        for (const std::string& inner : names)
            removeAt(::dirfd(listing), inner.c_str());
        ::closedir(listing);
    } else {
        ::close(folder);
    }
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

std::string temporaryBase()
{
    const char* base = std::getenv("TMPDIR");
    return base && *base == '/' ? base : "/tmp";
}

} // namespace

TempTree::TempTree() : TempTree(temporaryBase()) {}

TempTree::TempTree(const std::string& base) : m_root(base + "/quorvane-test-XXXXXX")
{
    if (!::mkdtemp(m_root.data()))
        throw std::runtime_error("cannot create a temporary folder");
    ::chmod(m_root.c_str(), 0755);
}

TempTree::~TempTree()
{
    ::nftw(m_root.c_str(), openUp, 32, FTW_PHYS);
    removeAt(AT_FDCWD, m_root.c_str());
}

std::string TempTree::deepFile(std::string_view relative, int levels, std::string_view name,
                               std::string_view content)
{
    std::string path = folder(relative);
    int at = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const std::string level(200, 'd');
    for (int i = 0; i < levels && at >= 0; ++i) {
        ::mkdirat(at, level.c_str(), 0755);
        const int inner = ::openat(at, level.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(at);
        at = inner;
        path += '/' + level;
    }
    const int file = ::openat(at, std::string(name).c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    if (at < 0 || file < 0 || ::write(file, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
        throw std::runtime_error("cannot make a deep file");
    ::close(file);
    ::close(at);
    return path + '/' + std::string(name);
}

std::string TempTree::path(std::string_view relative) const
{
    return m_root + '/' + std::string(relative);
}

std::string TempTree::expand(std::string text) const
{
    for (std::size_t at; (at = text.find("{R}")) != std::string::npos;)
        text.replace(at, 3, m_root);
    return text;
}

std::vector<std::string> TempTree::expand(const std::vector<std::string>& texts) const
{
    std::vector<std::string> expanded;
    for (const std::string& text : texts)
        expanded.push_back(expand(text));
    return expanded;
}

std::string TempTree::file(std::string_view relative, std::string_view content)
{
    const std::string target = path(relative);
    makeFolders(parentOf(target));
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + target);
    return target;
}

std::string TempTree::folder(std::string_view relative)
{
    const std::string target = path(relative);
    makeFolders(target);
    return target;
}

std::string TempTree::link(std::string_view relative, std::string_view target)
{
    const std::string at = path(relative);
    makeFolders(parentOf(at));
    if (::symlink(std::string(target).c_str(), at.c_str()) != 0)
        throw std::runtime_error("cannot link " + at);
    return at;
}

std::string TempTree::read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool TempTree::exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

std::unique_ptr<TempTree> TempTree::onOtherFileSystem(const TempTree& first)
{
    struct stat shm {};
    struct stat home {};
    if (::stat("/dev/shm", &shm) != 0 || !S_ISDIR(shm.st_mode) || ::access("/dev/shm", W_OK) != 0
        || ::stat(first.root().c_str(), &home) != 0 || shm.st_dev == home.st_dev)
        return nullptr;
    return std::unique_ptr<TempTree>(new TempTree("/dev/shm"));
}
