#include "support/TempTree.h"

#include <cstdlib>
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
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
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
