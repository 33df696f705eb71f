#include "run/TwinFinder.h"

#include "platform/ContentCompare.h"
#include "platform/ManyAtOnce.h"
#include "platform/FolderListing.h"
#include "platform/PendingCall.h"

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unordered_map>
#include <utility>

namespace run {

namespace {

struct Key {
    std::uint64_t bytes;
    std::uint64_t hash;
    bool operator==(const Key&) const = default;
};

struct KeyHash {
    std::size_t operator()(const Key& key) const { return key.hash ^ (key.bytes * 0x9E3779B97F4A7C15ull); }
};

// Where a content was first seen: a file of the destination, or a record of the run.
struct Origin {
    std::string existing;
    std::size_t record = 0;
};

constexpr std::size_t kNoPath = static_cast<std::size_t>(-1);

// The hashes of `paths`, read by `threads` threads taking the next path in turn.
std::vector<std::optional<std::uint64_t>> hashAll(const std::vector<std::string>& paths, std::size_t threads,
                                                  platform::PendingCall* reading)
{
    std::vector<std::optional<std::uint64_t>> hashes(paths.size());
    platform::forEachAtOnce(paths.size(), threads, [&](std::size_t at) {
        if (reading)
            reading->begin(paths[at]);
        hashes[at] = platform::contentHash(paths[at]);
    });
    return hashes;
}

} // namespace

std::vector<Twin> findTwins(const std::vector<FileRecord>& files, const std::string& destFolder,
                            std::size_t threads, platform::PendingCall* reading)
{
    // How many records to place have each size.
    std::unordered_map<std::uint64_t, std::size_t> placedSizes;
    for (const FileRecord& file : files)
        if (file.outcome != FileOutcome::Skipped)
            ++placedSizes[file.bytes];

    // The destination's regular files of those sizes, not read yet.
    std::unordered_map<std::uint64_t, std::vector<std::string>> existingBySize;
    platform::FolderListing listing;
    if (!placedSizes.empty() && listing.read(destFolder)) {
        const int folder = ::open(destFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        for (std::size_t i = 0; folder >= 0 && i < listing.size(); ++i) {
            const std::string name(listing.name(i));
            struct stat status {};
            if (listing.isFolder(i) || ::fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0
                || !S_ISREG(status.st_mode))
                continue;
            const auto bytes = static_cast<std::uint64_t>(status.st_size);
            if (placedSizes.count(bytes))
                existingBySize[bytes].push_back(destFolder + name);
        }
        if (folder >= 0)
            ::close(folder);
    }

    // Which files are read: each destination file of a size some record has, and each
    // record sharing its size with another file. They are read side by side, since on
    // a share each read waits on round trips.
    std::vector<std::string> paths;
    std::vector<std::size_t> recordPath(files.size(), kNoPath);
    std::unordered_map<std::uint64_t, std::pair<std::size_t, std::size_t>> existingPaths; // by size: first, end
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileRecord& file = files[i];
        if (file.outcome == FileOutcome::Skipped)
            continue;
        const auto existing = existingBySize.find(file.bytes);
        if (placedSizes[file.bytes] < 2 && existing == existingBySize.end())
            continue;
        if (existing != existingBySize.end()) {
            existingPaths[file.bytes] = {paths.size(), paths.size() + existing->second.size()};
            for (std::string& path : existing->second)
                paths.push_back(std::move(path));
            existingBySize.erase(existing);
        }
        recordPath[i] = paths.size();
        paths.push_back(file.source.str());
    }
    const std::vector<std::optional<std::uint64_t>> hashes = hashAll(paths, threads, reading);

    std::unordered_map<Key, Origin, KeyHash> seen;
    std::vector<Twin> twins;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (recordPath[i] == kNoPath)
            continue;
        const FileRecord& file = files[i];
        // The destination's files of this size come before any record: a record
        // matching one is its twin.
        if (const auto existing = existingPaths.find(file.bytes); existing != existingPaths.end()) {
            for (std::size_t at = existing->second.first; at < existing->second.second; ++at)
                if (hashes[at])
                    seen.try_emplace(Key{file.bytes, *hashes[at]}, Origin{std::move(paths[at]), 0});
            existingPaths.erase(existing);
        }
        // An unreadable source is nobody's twin: its copy reports the trouble.
        const std::optional<std::uint64_t>& hash = hashes[recordPath[i]];
        if (!hash)
            continue;
        const auto [found, first] = seen.try_emplace(Key{file.bytes, *hash}, Origin{{}, i});
        if (!first)
            twins.push_back({i, found->second.existing, found->second.record});
    }
    return twins;
}

} // namespace run
