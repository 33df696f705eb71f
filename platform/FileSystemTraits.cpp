#include "platform/FileSystemTraits.h"

#include <array>
#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <string_view>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {

namespace {

// `folder` if it exists, else its nearest existing parent.
std::string nearestExisting(std::string folder)
{
    struct stat status {};
    while (!folder.empty() && ::stat(folder.c_str(), &status) != 0) {
        const std::size_t slash = folder.rfind('/');
        if (slash == std::string::npos)
            return ".";
        folder.resize(slash == 0 ? 1 : slash);
        while (folder.size() > 1 && folder.back() == '/')
            folder.pop_back();
    }
    return folder.empty() ? "." : folder;
}

// A mount table field with its octal escapes ("\040" for a space) decoded.
std::string unescaped(std::string_view field)
{
    const auto octal = [&](std::size_t i) { return field[i] >= '0' && field[i] <= '7'; };
    std::string text;
    for (std::size_t at = 0; at < field.size(); ++at) {
        if (field[at] == '\\' && at + 3 < field.size() && octal(at + 1) && octal(at + 2) && octal(at + 3)) {
            text += static_cast<char>((field[at + 1] - '0') * 64 + (field[at + 2] - '0') * 8 + (field[at + 3] - '0'));
            at += 3;
        } else {
            text += field[at];
        }
    }
    return text;
}

struct Mount {
    std::string type;
    std::string source;
    std::string options; // the file system's own, after the source
};

// The mount of the device `device`; the last one listed, which covers any before it.
Mount mountOf(dev_t device)
{
    Mount found;
    std::FILE* table = std::fopen("/proc/self/mountinfo", "re");
    if (!table)
        return found;
    const std::string wanted = std::to_string(major(device)) + ":" + std::to_string(minor(device));
    char* line = nullptr;
    std::size_t capacity = 0;
    for (ssize_t length; (length = ::getline(&line, &capacity, table)) > 0;) {
        const std::string_view text(line, static_cast<std::size_t>(length));
        // id parent major:minor root mount-point options [optional fields] - type source ...
        std::array<std::string_view, 3> fields{};
        std::size_t at = 0;
        for (auto& field : fields) {
            const std::size_t end = text.find(' ', at);
            field = text.substr(at, end - at);
            at = end == std::string_view::npos ? text.size() : end + 1;
        }
        if (fields[2] != wanted)
            continue;
        const std::size_t separator = text.find(" - ");
        if (separator == std::string_view::npos)
            continue;
        std::string_view rest = text.substr(separator + 3);
        const std::size_t typeEnd = rest.find(' ');
        found.type = unescaped(rest.substr(0, typeEnd));
        rest = typeEnd == std::string_view::npos ? std::string_view() : rest.substr(typeEnd + 1);
        const std::size_t sourceEnd = rest.find(' ');
        found.source = unescaped(rest.substr(0, sourceEnd));
        rest = sourceEnd == std::string_view::npos ? std::string_view() : rest.substr(sourceEnd + 1);
        found.options = unescaped(rest.substr(0, rest.find_first_of(" \n")));
    }
    std::free(line);
    std::fclose(table);
    return found;
}

// The first sector of the volume at `source`, a block device or an image file; empty
// when it cannot be read (an unprivileged user reads no disk).
std::string volumeStart(const std::string& source)
{
    const int descriptor = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0)
        return {};
    std::string sector(512, '\0');
    struct stat status {};
    const bool volume = ::fstat(descriptor, &status) == 0 && (S_ISBLK(status.st_mode) || S_ISREG(status.st_mode));
    const ssize_t got = volume ? ::pread(descriptor, sector.data(), sector.size(), 0) : -1;
    ::close(descriptor);
    sector.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return sector;
}

// Whether `folder` (or the file it is) is marked to fold case, on the file systems that
// know such a mark.
bool hasCasefoldAttribute(const std::string& folder, std::string_view type)
{
    if (type != "ext4" && type != "f2fs" && type != "tmpfs")
        return false;
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0)
        return false;
    int flags = 0;
    const bool read = ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
    ::close(descriptor);
    return read && (flags & FS_CASEFOLD_FL) != 0;
}

bool bytesAt(std::string_view sector, std::size_t at, std::string_view expected)
{
    return sector.size() >= at + expected.size() && sector.substr(at, expected.size()) == expected;
}

bool hasOption(std::string_view options, std::string_view wanted)
{
    for (std::size_t at = 0; at <= options.size();) {
        const std::size_t end = std::min(options.find(',', at), options.size());
        if (options.substr(at, end - at) == wanted)
            return true;
        at = end + 1;
    }
    return false;
}

// Linux's own file systems keep case; those of other systems fold it, but for NTFS,
// which keeps it as ntfs-3g and ntfs3 mount it unless told otherwise.
CaseFolding caseFoldingOf(std::string_view kind, std::string_view type, std::string_view options,
                          bool casefoldFolder)
{
    for (const std::string_view folding : {"vfat", "msdos", "fat", "fusefat", "umsdos", "exfat"})
        if (kind == folding)
            return CaseFolding::Folds;
    if (kind == "ntfs3")
        return hasOption(options, "nocase") ? CaseFolding::Folds : CaseFolding::Keeps;
    if (kind == "ntfs" || kind == "ntfs-3g")
        return CaseFolding::Keeps;
    // A share's server, or a FUSE program's own rules, decide; lowntfs-3g folds when
    // so asked, and its options are not in the mount table.
    for (const std::string_view unsure : {"cifs", "smb3", "smbfs", "9p", "vboxsf", "hfs", "hfsplus", "lowntfs-3g"})
        if (kind == unsure)
            return CaseFolding::Unknown;
    if (type.starts_with("fuse"))
        return CaseFolding::Unknown;
    // ext4, f2fs and tmpfs fold in folders marked so.
    return casefoldFolder ? CaseFolding::Folds : CaseFolding::Keeps;
}

} // namespace

FileSystemTraits traitsOfMount(std::string_view type, std::string_view options, std::string_view sector,
                               bool casefoldFolder)
{
    std::string kind(type.starts_with("fuse.") ? type.substr(5) : type);
    const bool fuseVolume = type == "fuseblk" || type == "fuse";
    if (fuseVolume) {
        if (bytesAt(sector, 3, "NTFS    "))
            kind = "ntfs";
        else if (bytesAt(sector, 3, "EXFAT   "))
            kind = "exfat";
        else if (bytesAt(sector, 82, "FAT32   ") || bytesAt(sector, 54, "FAT1"))
            kind = "vfat";
    }
    FileSystemTraits traits;
    if (kind == "vfat" || kind == "msdos" || kind == "fat" || kind == "fusefat" || kind == "umsdos") {
        traits.windowsNames = true;
        traits.largestFile = 0xFFFF'FFFFull; // one byte short of 4 GiB
        traits.timeResolutionNanoseconds = 2'000'000'000;
        traits.keepsChangeTimes = false;
    } else if (kind == "exfat") {
        traits.windowsNames = true;
        traits.timeResolutionNanoseconds = 10'000'000;
        traits.keepsChangeTimes = false;
    } else if (kind == "ntfs" || kind == "ntfs3" || kind == "ntfs-3g" || kind == "lowntfs-3g") {
        traits.windowsNames = true;
        traits.timeResolutionNanoseconds = 100;
    } else if (kind == "cifs" || kind == "smb3" || kind == "smbfs") {
        traits.windowsNames = true;
        traits.timeResolutionNanoseconds = 100;
    } else if (type == "fuseblk" && sector.empty()) {
        // A FUSE block volume that cannot be read is nearly always NTFS or exFAT on a
        // removable disk: names are fitted, and times compared as coarsely as FAT's.
        traits.windowsNames = true;
        traits.timeResolutionNanoseconds = 2'000'000'000;
        traits.keepsChangeTimes = false;
    }
    traits.caseFolding = caseFoldingOf(kind, type, options, casefoldFolder);
    traits.roundTrips = type.starts_with("fuse");
    for (const std::string_view share : {"nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "ceph", "afs", "glusterfs", "lustre", "davfs"})
        traits.roundTrips = traits.roundTrips || kind == share;
    return traits;
}

std::size_t filesInFlight(const FileSystemTraits& source, const FileSystemTraits& destination)
{
    // Measured over a file system adding 2 ms to each call: 12 in flight cut a copy of
    // small files to about a tenth; on a local disk a third worker only competes for
    // the two processors.
    return source.roundTrips || destination.roundTrips ? 12 : 2;
}

FileSystemTraits fileSystemOf(const std::string& folder)
{
    struct stat status {};
    const std::string existing = nearestExisting(folder);
    if (::stat(existing.c_str(), &status) != 0)
        return {};
    const Mount mount = mountOf(status.st_dev);
    const bool fuseVolume = mount.type == "fuseblk" || mount.type == "fuse";
    return traitsOfMount(mount.type, mount.options, fuseVolume ? volumeStart(mount.source) : std::string(),
                         hasCasefoldAttribute(existing, mount.type));
}

std::optional<FreeSpace> freeSpaceOf(const std::string& folder)
{
    struct statvfs info {};
    // A file system that reports no blocks at all (some FUSE ones) tells nothing.
    if (::statvfs(nearestExisting(folder).c_str(), &info) != 0 || info.f_blocks == 0)
        return std::nullopt;
    const std::uint64_t block = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    return FreeSpace{static_cast<std::uint64_t>(info.f_bavail) * block, block == 0 ? 1 : block};
}

} // namespace platform
