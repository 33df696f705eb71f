#include "run/TwinFinder.h"

#include "platform/ContentCompare.h"
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

} // namespace

std::vector<Twin> findTwins(const std::vector<FileRecord>& files, const std::string& destFolder,
                            platform::PendingCall* reading)
{
    const auto read = [reading](const std::string& path) {
        if (reading)
            reading->begin(path);
        return platform::contentHash(path);
    };
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

    std::unordered_map<Key, Origin, KeyHash> seen;
    std::vector<Twin> twins;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const FileRecord& file = files[i];
        if (file.outcome == FileOutcome::Skipped)
            continue;
        const auto existing = existingBySize.find(file.bytes);
        const bool alone = placedSizes[file.bytes] < 2 && existing == existingBySize.end();
        if (alone)
            continue;
        // The destination's files of this size are read the first time it is met, and
        // come before any record: a record matching one is its twin.
        if (existing != existingBySize.end()) {
            for (std::string& path : existing->second)
                if (const std::optional<std::uint64_t> hash = read(path))
                    seen.try_emplace(Key{file.bytes, *hash}, Origin{std::move(path), 0});
            existingBySize.erase(existing);
        }
        // An unreadable source is nobody's twin: its copy reports the trouble.
        const std::optional<std::uint64_t> hash = read(file.source.str());
        if (!hash)
            continue;
        const auto [found, first] = seen.try_emplace(Key{file.bytes, *hash}, Origin{{}, i});
        if (!first)
            twins.push_back({i, found->second.existing, found->second.record});
    }
    return twins;
}

} // namespace run
