#pragma once

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace bench {

inline void writeFile(const std::string& path, const std::string& content)
{
    const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0)
        return;
    if (!content.empty() && write(fd, content.data(), content.size()) < 0)
        std::perror(path.c_str());
    close(fd);
}

inline std::string readFile(const std::string& path)
{
    std::string content;
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return content;
    char block[65536];
    for (ssize_t got; (got = read(fd, block, sizeof block)) > 0;)
        content.append(block, static_cast<std::size_t>(got));
    close(fd);
    return content;
}

/// A camera-like tree: 40 albums of 38 days each (1,560 folders), `files` files named
/// IMG_nnnn.jpg with `names` different names spread over the days, each holding
/// `content`. Made once; a marker file tells a complete tree from an interrupted one.
inline void makePhotoTree(const std::string& root, int files, int names, const std::string& content)
{
    constexpr int kAlbums = 40;
    constexpr int kDays = 38;
    const std::string marker = root + "/.complete";
    if (access(marker.c_str(), F_OK) == 0)
        return;
    std::printf("making %d files under %s ...\n", files, root.c_str());
    mkdir(root.c_str(), 0755);
    std::vector<std::string> days;
    for (int album = 0; album < kAlbums; ++album) {
        const std::string albumFolder = root + "/album" + std::to_string(album);
        mkdir(albumFolder.c_str(), 0755);
        for (int day = 0; day < kDays; ++day) {
            days.push_back(albumFolder + "/day" + std::to_string(day));
            mkdir(days.back().c_str(), 0755);
        }
    }
    for (int i = 0; i < files; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/IMG_%04d.jpg", i % names);
        writeFile(days[static_cast<std::size_t>(i) % days.size()] + name, content);
    }
    close(open(marker.c_str(), O_CREAT | O_WRONLY, 0644));
}

/// A wide tree: `folders` folders of `files / folders` files each, one byte apiece. A
/// folder holds consecutive files, and file i is named IMG_nnnnn.jpg after i modulo
/// `names`: no folder holds a name twice, and each name recurs across files / names
/// folders. Made once, as makePhotoTree().
inline void makeWideTree(const std::string& root, int files, int folders, int names)
{
    const std::string marker = root + "/.complete";
    if (access(marker.c_str(), F_OK) == 0)
        return;
    std::printf("making %d files in %d folders under %s ...\n", files, folders, root.c_str());
    std::fflush(stdout);
    mkdir(root.c_str(), 0755);
    const int perFolder = files / folders;
    for (int folder = 0; folder < folders; ++folder) {
        const std::string path = root + "/d" + std::to_string(folder);
        mkdir(path.c_str(), 0755);
        for (int file = folder * perFolder; file < (folder + 1) * perFolder; ++file) {
            char name[32];
            std::snprintf(name, sizeof name, "/IMG_%05d.jpg", file % names);
            writeFile(path + name, "x");
        }
    }
    close(open(marker.c_str(), O_CREAT | O_WRONLY, 0644));
}

/// Small files of 1 to `largestKiB` KiB (ten thousand of up to 32 KiB in 100 folders
/// unless told otherwise), named IMG_n.jpg, where every sixth repeats a name of another
/// folder: flattened, about one in six gets a number. Made once, as makePhotoTree().
inline void makeSmallFilesTree(const std::string& root, bool distinct = false, int files = 10'000, int folders = 100,
                               int largestKiB = 32)
{
    const std::string marker = root + "/.complete";
    if (access(marker.c_str(), F_OK) == 0)
        return;
    std::printf("making %d %ssmall files under %s ...\n", files, distinct ? "distinct " : "", root.c_str());
    std::fflush(stdout);
    mkdir(root.c_str(), 0755);
    unsigned seed = 12345;
    for (int i = 0, name = 0; i < files; ++i) {
        const std::string folder = root + "/d" + std::to_string(i % folders);
        mkdir(folder.c_str(), 0755);
        const int number = i % 6 == 5 ? name / 2 : name++;
        seed = seed * 1103515245 + 12345;
        // Distinct: every file's bytes its own (its number first), so that files of one
        // size are not alike, and a run that leaves identical files finds none.
        std::string content = distinct ? std::to_string(i) + ':' : std::string();
        content.resize(1024 + (seed >> 8) % (static_cast<unsigned>(largestKiB - 1) * 1024), 'x');
        writeFile(folder + "/IMG_" + std::to_string(number) + ".jpg", content);
    }
    close(open(marker.c_str(), O_CREAT | O_WRONLY, 0644));
}

} // namespace bench
