// Times the file operations against the command-line tools and against minimal loops of
// the same system calls, all as whole processes in the same run, alternating A B A B
// after an untimed warm-up. Every input is made before the first timed run, and nothing
// is deleted until the end, so that freed inodes do not slow later runs.
//   bench_file_operations [--only=CASE] [folder on the main disk] [folder on another file system]
//   (defaults: /tmp/quorvane-bench-ops and /dev/shm/quorvane-bench-ops; CASE is one of
//   copy, big, move, trash, cross, delete, and only its inputs are made)
#include "BenchSupport.h"
#include "SilentUser.h"

#include "toolkit/clsFileFolder.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kRounds = 5;          // timed rounds, after one warm-up
constexpr int kSmallFiles = 10'000;
constexpr int kTakenEvery = 6;      // about a sixth of the names are taken
constexpr int kBigFiles = 3;
constexpr std::size_t kBigBytes = 128u << 20;

void writeFile(const std::string& path, std::size_t bytes)
{
    static const std::string block(1 << 20, 'q');
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    for (std::size_t done = 0; fd >= 0 && done < bytes;)
        done += static_cast<std::size_t>(
            ::write(fd, block.data(), std::min(block.size(), bytes - done)));
    if (fd >= 0)
        ::close(fd);
}

void makeFolder(const std::string& path)
{
    ::mkdir(path.c_str(), 0755);
}

// A list file: entries each followed by a NUL.
void writeList(const std::string& path, const std::vector<std::string>& entries)
{
    std::string text;
    for (const std::string& entry : entries)
        text += entry + '\0';
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd >= 0) {
        if (::write(fd, text.data(), text.size()) < 0)
            std::perror(path.c_str());
        ::close(fd);
    }
}

std::vector<std::string> readList(const char* path)
{
    std::string text;
    char buffer[1 << 16];
    const int fd = ::open(path, O_RDONLY);
    for (ssize_t got; fd >= 0 && (got = ::read(fd, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    if (fd >= 0)
        ::close(fd);
    std::vector<std::string> entries;
    for (std::size_t at = 0, end; (end = text.find('\0', at)) != std::string::npos; at = end + 1)
        entries.push_back(text.substr(at, end - at));
    return entries;
}

// Flat folder of `count` files of `bytes` each; returns their paths.
std::vector<std::string> makeFlatFolder(const std::string& folder, int count, std::size_t bytes)
{
    makeFolder(folder);
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        paths.push_back(folder + "/IMG_" + std::to_string(i) + ".jpg");
        writeFile(paths.back(), bytes);
    }
    return paths;
}

// The work of one timed process.
int runMode(const std::string& mode, const char* listFile)
{
    const std::vector<std::string> list = readList(listFile);
    bench::SilentUser user;
    clsFileFolder toolkit(user.services());
    bool allDone = true;
    if (mode == "--copy" || mode == "--move") {
        for (std::size_t i = 0; i + 1 < list.size(); i += 2)
            allDone &= mode == "--copy" ? toolkit.Copy(list[i], list[i + 1])
                                        : toolkit.Move(list[i], list[i + 1]);
    } else if (mode == "--copy-as-run") {
        // The call a collection run makes for each file when nothing was written ahead: a
        // planned full path that is never replaced, so nothing is looked at before placing.
        // (A whole run, with its files written ahead: bench_command_line.)
        for (std::size_t i = 0; i + 1 < list.size(); i += 2)
            allDone &= toolkit.RunOperation(platform::FileOperationCode::Copy, list[i], list[i + 1],
                                            {.neverReplace = true})
                           .result == 0;
    } else if (mode == "--copy-minimal") {
        for (std::size_t i = 0; i + 1 < list.size(); i += 2) {
            const int in = ::open(list[i].c_str(), O_RDONLY | O_CLOEXEC);
            struct stat status {};
            ::fstat(in, &status);
            const int out = ::open(list[i + 1].c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            while (::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0) > 0) {
            }
            const struct timespec times[2] = {status.st_atim, status.st_mtim};
            ::futimens(out, times);
            ::fchmod(out, status.st_mode & 0777);
            ::close(out);
            ::close(in);
        }
    } else if (mode == "--move-minimal") {
        for (std::size_t i = 0; i + 1 < list.size(); i += 2)
            allDone &= ::renameat2(AT_FDCWD, list[i].c_str(), AT_FDCWD, list[i + 1].c_str(),
                                   RENAME_NOREPLACE) == 0;
    } else if (mode == "--delete" || mode == "--trash") {
        std::string joined;
        for (const std::string& path : list)
            joined += path + '\0';
        toolkit.RespondDialog(true);
        allDone = mode == "--trash" ? toolkit.Recycled(joined) : toolkit.Delete(joined);
    }
    return allDone ? 0 : 1;
}

struct Contest {
    const char* title;
    std::vector<double> ours, theirs;       // wall seconds
    std::vector<double> oursCpu, theirsCpu; // processor seconds
};

void report(const Contest& contest, const char* yardstick)
{
    const double ours = bench::median(contest.ours);
    const double theirs = bench::median(contest.theirs);
    std::printf("%-42s ours %7.1f ms  %-22s %7.1f ms  ratio %.2fx  (cpu %.2fx)\n",
                contest.title, ours * 1e3, yardstick, theirs * 1e3, ours / theirs,
                bench::median(contest.oursCpu) / bench::median(contest.theirsCpu));
    std::fflush(stdout);
}

// Runs ours and theirs alternately, round 0 untimed; `command(round, ours)` gives the
// command line of one run.
template <typename Command>
Contest contest(const char* title, Command command)
{
    Contest result{title, {}, {}, {}, {}};
    for (int round = 0; round <= kRounds; ++round) {
        const bool oursFirst = round % 2 == 0;
        for (const bool ours : {oursFirst, !oursFirst}) {
            const bench::Timing timing = bench::timeCommand(command(round, ours));
            if (round > 0) {
                (ours ? result.ours : result.theirs).push_back(timing.wall);
                (ours ? result.oursCpu : result.theirsCpu).push_back(timing.cpu);
            }
        }
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strncmp(argv[1], "--", 2) == 0 && std::strncmp(argv[1], "--only=", 7) != 0)
        return runMode(argv[1], argv[2]);

    const std::string self = argv[0];
    std::string only;
    if (argc > 1 && std::strncmp(argv[1], "--only=", 7) == 0) {
        only = argv[1] + 7;
        --argc;
        ++argv;
    }
    auto wanted = [&only](const char* name) { return only.empty() || only == name; };
    const std::string root = argc > 1 ? argv[1] : "/tmp/quorvane-bench-ops";
    const std::string other = argc > 2 ? argv[2] : "/dev/shm/quorvane-bench-ops";
    if (::access(root.c_str(), F_OK) == 0 || ::access(other.c_str(), F_OK) == 0) {
        std::fprintf(stderr, "%s or %s exists already: remove it first\n", root.c_str(),
                     other.c_str());
        return 2;
    }
    makeFolder(root);
    makeFolder(other);
    std::printf("making the inputs under %s and %s ...\n", root.c_str(), other.c_str());

    // Small files in 100 folders; every sixth name repeats an earlier one, so the flat
    // destination numbers it, as a collection run plans it.
    const std::string small = root + "/small";
    makeFolder(small);
    const int smallFiles = wanted("copy") ? kSmallFiles : 0;
    std::vector<std::string> smallSources;
    std::vector<std::string> smallNames;
    std::map<std::string, int> taken;
    unsigned seed = 12345;
    for (int i = 0, name = 0; i < smallFiles; ++i) {
        const std::string folder = small + "/d" + std::to_string(i % 100);
        makeFolder(folder);
        const int nameNumber = i % kTakenEvery == kTakenEvery - 1 ? name / 2 : name++;
        const std::string base = "IMG_" + std::to_string(nameNumber);
        smallSources.push_back(folder + "/" + base + "_" + std::to_string(i) + ".jpg");
        seed = seed * 1103515245 + 12345;
        writeFile(smallSources.back(), 1024 + (seed >> 8) % (31 * 1024));
        const int count = taken[base]++;
        char numbered[16];
        std::snprintf(numbered, sizeof numbered, "_%03d", count);
        smallNames.push_back(base + (count == 0 ? "" : numbered) + ".jpg");
    }
    for (int round = 0; round <= kRounds && wanted("copy"); ++round) {
        std::vector<std::string> pairs;
        for (const char* kind : {"/copyOurs", "/copyOursAgain", "/copyMinimal", "/copyAsRun"}) {
            const std::string destination = root + kind + std::to_string(round);
            makeFolder(destination);
            pairs.clear();
            for (int i = 0; i < kSmallFiles; ++i) {
                pairs.push_back(smallSources[static_cast<std::size_t>(i)]);
                pairs.push_back(destination + "/" + smallNames[static_cast<std::size_t>(i)]);
            }
            writeList(destination + ".list", pairs);
        }
    }

    const std::string big = root + "/big";
    makeFolder(big);
    std::vector<std::string> bigSources;
    for (int i = 0; i < kBigFiles && wanted("big"); ++i) {
        bigSources.push_back(big + "/film" + std::to_string(i) + ".mp4");
        writeFile(bigSources.back(), kBigBytes);
    }
    for (int round = 0; round <= kRounds && wanted("big"); ++round) {
        makeFolder(root + "/bigOurs" + std::to_string(round));
        makeFolder(root + "/bigCp" + std::to_string(round));
        std::vector<std::string> pairs;
        for (const std::string& source : bigSources) {
            pairs.push_back(source);
            pairs.push_back(root + "/bigOurs" + std::to_string(round) + source.substr(big.size()));
        }
        writeList(root + "/bigOurs" + std::to_string(round) + ".list", pairs);
    }

    // Same file system: the files go back and forth between two folders.
    const std::vector<std::string> there =
        makeFlatFolder(root + "/moveA", wanted("move") ? kSmallFiles : 0, 1024);
    makeFolder(root + "/moveB");
    std::vector<std::string> forth, back;
    for (const std::string& path : there) {
        const std::string moved = root + "/moveB" + path.substr(path.rfind('/'));
        forth.insert(forth.end(), {path, moved});
        back.insert(back.end(), {moved, path});
    }
    writeList(root + "/moveForth.list", forth);
    writeList(root + "/moveBack.list", back);

    // One fresh set per run for the operations that use up their input.
    for (const char* kind : {"trash", "cross", "delete"}) {
        for (int round = 0; round <= kRounds && wanted(kind); ++round) {
            for (const char* who : {"Ours", "Theirs"}) {
                const std::string folder = root + "/" + kind + who + std::to_string(round);
                const std::vector<std::string> paths = makeFlatFolder(
                    folder, kSmallFiles, std::strcmp(kind, "cross") == 0 ? 4096 : 1);
                std::vector<std::string> list = paths;
                if (std::strcmp(kind, "cross") == 0) {
                    const std::string destination = other + "/" + who + std::to_string(round);
                    makeFolder(destination);
                    list.clear();
                    for (const std::string& path : paths)
                        list.insert(list.end(), {path, destination + path.substr(path.rfind('/'))});
                }
                writeList(folder + ".list", list);
            }
        }
    }
    ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
    ::sync();

    auto r = [](int round) { return std::to_string(round); };
    std::printf("\n");
    // Ours, one mode and its own lists, against a fresh cp -pr of the tree each round.
    const auto againstCp = [&](const char* title, const char* mode, const char* lists, const char* cpTrees) {
        report(contest(title,
                       [&](int round, bool ours) -> std::vector<std::string> {
                           if (ours)
                               return {self, mode, root + lists + r(round) + ".list"};
                           return {"cp", "-pr", small, root + cpTrees + r(round)};
                       }),
               "cp -pr (tree)");
    };
    if (wanted("copy")) {
        againstCp("flat copy, 10,000 small files, 1/6 renamed", "--copy", "/copyOurs", "/cpTree");
        report(contest("flat copy, 10,000 small files, 1/6 renamed",
                       [&](int round, bool ours) -> std::vector<std::string> {
                           return {self, ours ? "--copy" : "--copy-minimal",
                                   root + (ours ? "/copyOursAgain" : "/copyMinimal") + r(round)
                                       + ".list"};
                       }),
               "copy_file_range loop");
        againstCp("flat copy as a run calls it", "--copy-as-run", "/copyAsRun", "/cpTreeAgain");
    }
    if (wanted("big")) {
        // Big files vary a lot from run to run: compare each pair of runs.
        Contest pairs = contest("3 x 128 MiB files", [&](int round, bool ours) {
            if (ours)
                return std::vector<std::string>{self, "--copy", root + "/bigOurs" + r(round) + ".list"};
            std::vector<std::string> command{"cp", "-p"};
            command.insert(command.end(), bigSources.begin(), bigSources.end());
            command.push_back(root + "/bigCp" + r(round));
            return command;
        });
        std::vector<double> ratios;
        for (std::size_t i = 0; i < pairs.ours.size(); ++i)
            ratios.push_back(pairs.ours[i] / pairs.theirs[i]);
        std::printf("%-42s ours %7.1f ms  %-22s %7.1f ms  paired ratio %.2fx\n", pairs.title,
                    bench::median(pairs.ours) * 1e3, "cp -p", bench::median(pairs.theirs) * 1e3,
                    bench::median(ratios));
    }
    bool filesInA = true; // each run moves the files to the other folder
    if (wanted("move")) {
        report(contest("move 10,000 files, same file system",
                       [&](int, bool ours) -> std::vector<std::string> {
                           const std::string list = root + (filesInA ? "/moveForth.list" : "/moveBack.list");
                           filesInA = !filesInA;
                           return {self, ours ? "--move" : "--move-minimal", list};
                       }),
               "renameat2 loop");
    }
    if (wanted("trash")) {
        report(contest("trash 10,000 files (home trash)",
                       [&](int round, bool ours) -> std::vector<std::string> {
                           if (ours)
                               return {self, "--trash", root + "/trashOurs" + r(round) + ".list"};
                           std::vector<std::string> command{"gio", "trash"};
                           const std::vector<std::string> paths =
                               readList((root + "/trashTheirs" + r(round) + ".list").c_str());
                           command.insert(command.end(), paths.begin(), paths.end());
                           return command;
                       }),
               "gio trash");
    }
    if (wanted("cross")) {
        report(contest("move 10,000 files to another file system",
                       [&](int round, bool ours) -> std::vector<std::string> {
                           if (ours)
                               return {self, "--move", root + "/crossOurs" + r(round) + ".list"};
                           return {"mv", root + "/crossTheirs" + r(round), other + "/mv" + r(round)};
                       }),
               "mv");
    }
    if (wanted("delete")) {
        report(contest("delete 10,000 files",
                       [&](int round, bool ours) -> std::vector<std::string> {
                           if (ours)
                               return {self, "--delete", root + "/deleteOurs" + r(round) + ".list"};
                           return {"find", root + "/deleteTheirs" + r(round), "-delete"};
                       }),
               "find -delete");
    }

    // Clean up only after every measurement.
    bench::timeCommand({"rm", "-rf", root, other});
    return 0;
}
