// The command line on slow media against `cp -pr`, as whole processes in one session:
// latencyfs (bench/latencyfs) mirrors the benchmark's folder with a delay before every
// call, as a network share or a phone answers. Cases: 1,000 files of 1-64 KiB in 10
// folders copied (flattened) to such a share at 2 ms, the same from it, and one file of
// 1 GiB each way at 0.5 ms. The sides alternate, each run into a fresh folder, and the
// paired ratios are shown. With --floors the small-file cases also time two floors,
// once each: 16 threads copying the same files flat through hidden names, in the
// destination folder ("floor") or in hidden folders of their own ("floor2"), as much
// as calls in flight can gain there.
// There is no warm-up pair: a run waits on the share far longer than on fresh memory,
// and a pair of the small cases takes most of a minute. The source's bytes are read
// once, untimed, before each case.
//   bench_slow_media QUORVANE LATENCYFS [folder [case]] [--rounds N] [--floors]
//   (folder: $TMPDIR or /tmp, + /quorvane-bench-slow, mounted at folder + "-share";
//   case: only the cases whose name holds this text, such as "from"; N: timed pairs, 2)
// With two rounds a case takes about a minute; the copy to a share, today, two.
// A killed benchmark leaves the mount: `fusermount3 -u FOLDER-share`.
#include "BenchSupport.h"
#include "PhotoTree.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kSmallFiles = 1'000;
constexpr int kInFlight = 16;

// The median, of an even count the mean of the middle two: two rounds are the usual.
double middle(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

bool succeeds(const std::vector<std::string>& command)
{
    return !bench::timeCommand(command).failed;
}

// The benchmark's folder seen through latencyfs for as long as a case runs.
class Share {
public:
    Share(const std::string& latencyfs, const std::string& backing, const std::string& mountPoint, double delayMs)
        : m_mountPoint(mountPoint)
    {
        mkdir(mountPoint.c_str(), 0755);
        m_mounted = succeeds({latencyfs, backing, mountPoint, "-o", "delay_ms=" + std::to_string(delayMs)});
    }
    ~Share()
    {
        if (m_mounted && !succeeds({"fusermount3", "-u", m_mountPoint}))
            succeeds({"fusermount3", "-u", "-z", m_mountPoint});
    }
    Share(const Share&) = delete;
    Share& operator=(const Share&) = delete;

    bool mounted() const { return m_mounted; }

private:
    std::string m_mountPoint;
    bool m_mounted = false;
};

void filesUnder(const std::string& folder, std::vector<std::string>& files)
{
    DIR* listing = opendir(folder.c_str());
    if (!listing)
        return;
    while (const dirent* entry = readdir(listing)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string path = folder + "/" + entry->d_name;
        if (entry->d_type == DT_DIR)
            filesUnder(path, files);
        else
            files.push_back(path);
    }
    closedir(listing);
}

// Where the floor's copies are written before they are put in place: hidden names in
// the destination folder itself, or in a hidden folder of each thread's own. A
// folder's entries are made and renamed one at a time (the kernel locks the folder
// for each, over the lookup and the call), so in one folder every file costs four
// round trips that cannot overlap; in folders of their own only the placing (a lookup
// and the rename) waits on the others.
enum class Staging { SameFolder, OwnFolders };

// One file copied as a careful copy goes: bytes into a hidden name, times and mode
// kept, then put in place under its own name without replacing anything.
bool copyThroughHiddenName(const std::string& from, const std::string& staging, const std::string& folder,
                           std::size_t number, std::vector<char>& buffer)
{
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (in < 0 || fstat(in, &status) != 0)
        return false;
    const std::string hidden = staging + "/.in-flight-" + std::to_string(number);
    const int out = open(hidden.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    bool copied = out >= 0;
    for (ssize_t got; copied && (got = read(in, buffer.data(), buffer.size())) > 0;)
        copied = write(out, buffer.data(), static_cast<std::size_t>(got)) == got;
    const timespec times[2] = {status.st_atim, status.st_mtim};
    copied = copied && futimens(out, times) == 0 && fchmod(out, status.st_mode & 07777) == 0;
    copied = close(out) == 0 && copied;
    close(in);
    const std::string name = folder + "/" + std::to_string(number) + "_" + from.substr(from.rfind('/') + 1);
    return copied && renameat2(AT_FDCWD, hidden.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0;
}

// The floor: the walk on one thread, then kInFlight threads taking the files in turn.
void copyInFlight(const std::string& source, const std::string& folder, Staging staging)
{
    std::vector<std::string> files;
    filesUnder(source, files);
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::vector<std::thread> threads;
    for (int i = 0; i < kInFlight; ++i) {
        threads.emplace_back([&, i] {
            std::string own = folder;
            if (staging == Staging::OwnFolders) {
                own += "/.staging-" + std::to_string(i);
                mkdir(own.c_str(), 0700);
            }
            std::vector<char> buffer(1 << 20);
            for (std::size_t number; (number = next++) < files.size();)
                if (!copyThroughHiddenName(files[number], own, folder, number, buffer))
                    failed = true;
            if (staging == Staging::OwnFolders)
                rmdir(own.c_str());
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    if (failed)
        _exit(1);
}

// Makes `root` hold one file of `bytes`, once; bytes that are not zeros, so that no
// tool can take them for a hole.
void makeBigFile(const std::string& root, long long bytes)
{
    const std::string marker = root + "/.complete";
    if (access(marker.c_str(), F_OK) == 0)
        return;
    std::printf("making a file of %lld bytes under %s ...\n", bytes, root.c_str());
    std::fflush(stdout);
    mkdir(root.c_str(), 0755);
    std::string block(1 << 20, '\0');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>('a' + i % 23);
    const int out = open((root + "/video.mp4").c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
    for (long long written = 0; out >= 0 && written < bytes; written += static_cast<long long>(block.size()))
        if (write(out, block.data(), block.size()) < 0)
            std::perror("write");
    close(out);
    close(open(marker.c_str(), O_CREAT | O_WRONLY, 0644));
}

struct Case {
    const char* name;
    double delayMs;
    bool sourceOnShare; // else the destination is on the share
    std::string tree;   // under the benchmark's folder
    std::size_t files;  // that a run must leave in its destination
    const char* types;  // our run's file types
};

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    int rounds = 2;
    const bool floors = std::erase(arguments, "--floors") > 0;
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
        if (arguments[i] == "--rounds") {
            rounds = std::max(1, std::atoi(arguments[i + 1].c_str()));
            arguments.erase(arguments.begin() + static_cast<long>(i), arguments.begin() + static_cast<long>(i) + 2);
            break;
        }
    }
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: bench_slow_media QUORVANE LATENCYFS [folder [case]] [--rounds N] [--floors]\n");
        return 2;
    }
    const std::string quorvane = arguments[0];
    const std::string latencyfs = arguments[1];
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = arguments.size() > 2 ? arguments[2] : std::string(tmp ? tmp : "/tmp") + "/quorvane-bench-slow";
    const std::string only = arguments.size() > 3 ? arguments[3] : "";
    const std::string mountPoint = base + "-share";
    const auto onShare = [&](const std::string& path) { return mountPoint + path.substr(base.size()); };
    mkdir(base.c_str(), 0755);
    const std::string outputs = base + "/out-" + std::to_string(getpid());
    mkdir(outputs.c_str(), 0755);
    ::setenv("XDG_STATE_HOME", (outputs + "/state").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (outputs + "/data").c_str(), 1);
    int number = 0;
    const auto fresh = [&] {
        const std::string folder = outputs + "/" + std::to_string(number++);
        mkdir(folder.c_str(), 0755);
        return folder;
    };

    const std::vector<Case> cases{
        {"copy 1,000 small to a share, 2 ms", 2, false, "small", kSmallFiles, "jpg"},
        {"copy 1,000 small from a share, 2 ms", 2, true, "small", kSmallFiles, "jpg"},
        {"copy 1 GiB to a share, 0.5 ms", 0.5, false, "big", 1, "mp4"},
        {"copy 1 GiB from a share, 0.5 ms", 0.5, true, "big", 1, "mp4"},
    };
    std::printf("%-38s %9s %9s %7s %7s %9s %9s %9s %9s\n", "case (ours / cp -pr)", "ours", "cp", "ratio", "paired",
                "our cpu", "cp cpu", "floor", "floor2");
    for (const Case& test : cases) {
        if (std::string(test.name).find(only) == std::string::npos)
            continue;
        const std::string tree = base + "/" + test.tree;
        if (test.tree == "small")
            bench::makeSmallFilesTree(tree, false, kSmallFiles, 10, 64);
        else
            makeBigFile(tree, 1LL << 30);
        std::vector<std::string> sourceFiles;
        filesUnder(tree, sourceFiles);
        for (const std::string& file : sourceFiles)
            bench::readFile(file);

        const Share share(latencyfs, base, mountPoint, test.delayMs);
        if (!share.mounted()) {
            std::printf("%-38s latencyfs could not mount %s\n", test.name, mountPoint.c_str());
            continue;
        }
        const std::string source = test.sourceOnShare ? onShare(tree) : tree;
        // The destination is made beside the source's tree, untimed, and seen through
        // the share when the case writes to it.
        const auto destination = [&] { return test.sourceOnShare ? fresh() : onShare(fresh()); };
        std::vector<double> ours, theirs, ourCpu, theirCpu, paired;
        for (int round = 0; round < rounds; ++round) {
            double pair[2] = {0, 0};
            // Ours first in even rounds, cp first in odd ones.
            for (const bool mine : {round % 2 == 0, round % 2 != 0}) {
                const std::string work = destination();
                const bench::Timing timing =
                    bench::timeCommand(mine ? std::vector<std::string>{quorvane, "copy", source, work, "-q", "-t", test.types}
                                            : std::vector<std::string>{"cp", "-pr", source, work});
                // Ours flattens into the folder; cp puts the tree inside it.
                std::vector<std::string> written;
                filesUnder(work, written);
                if (timing.failed || written.size() != test.files)
                    std::printf("  %s left %zu files, not %zu%s\n", mine ? "ours" : "cp", written.size(), test.files,
                                timing.failed ? ", and failed" : "");
                (mine ? ours : theirs).push_back(timing.wall);
                (mine ? ourCpu : theirCpu).push_back(timing.cpu);
                pair[mine ? 0 : 1] = timing.wall;
                std::fflush(stdout);
            }
            paired.push_back(pair[0] / pair[1]);
        }
        std::string floorTimes[2] = {"-", "-"};
        for (const Staging staging : {Staging::SameFolder, Staging::OwnFolders}) {
            if (!floors || test.files == 1)
                break;
            // Made here, not in the child, which would not count it.
            const std::string work = destination();
            const bench::Timing timing = bench::timeChild([&] { copyInFlight(source, work, staging); });
            char text[32];
            std::snprintf(text, sizeof text, "%.2fs%s", timing.wall, timing.failed ? "!" : "");
            floorTimes[static_cast<int>(staging)] = text;
        }
        std::printf("%-38s %8.2fs %8.2fs %7.2f %7.2f %8.2fs %8.2fs %9s %9s\n", test.name, middle(ours),
                    middle(theirs), middle(ours) / middle(theirs), middle(paired),
                    middle(ourCpu), middle(theirCpu), floorTimes[0].c_str(), floorTimes[1].c_str());
        std::printf("  paired ratios:");
        for (const double ratio : paired)
            std::printf(" %.2f", ratio);
        std::printf("\n");
        std::fflush(stdout);
    }
    std::printf("(outputs are left in %s; remove them when the disk has settled)\n", outputs.c_str());
    return 0;
}
