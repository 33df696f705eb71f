// The command line against the standard tools, as whole processes in one session, with
// their peak memory: a copy of 10,000 small files of 1-32 KiB flattened into one folder
// against `cp -pr` of their tree; a copy of 100,000 files (about 100 per name) flattened into one
// folder against `cp -rp` of the tree (which does not flatten, so it has no names to
// number); a move of 10,000 files to another file system (/dev/shm) against `mv`, just
// made and once written to the disk; a delete of 10,000 against `find -delete`; a trash of 10,000 files against `gio trash` of
// each (trashing their folder would be one rename). Each
// pair runs twice in alternating order after a warm-up; the medians are shown.
// `find -exec cp --backup=numbered` takes minutes here: bench_copy_run measures it.
//   bench_command_line QUORVANE [folder [case]]   (folder: $TMPDIR or /tmp, + /quorvane-bench-cli;
//   case: only the cases whose name holds this text, such as "move")
//
// With --million it measures only a copy of 1,000,000 one-byte files in 10,000 folders
// flattened into one folder, against `cp -rp` of the tree and against the floor of a
// folder that holds a million names: a minimal loop making 1,000,000 empty files in one
// folder. It needs about 7 million free inodes and 30 GB of disk (a one-byte file takes
// a 4 KiB block: the tree, kept between runs, and six outputs, the warm-up's among them,
// left for removal after the measurements) and half an hour.
//   bench_command_line QUORVANE [folder] --million
#include "BenchSupport.h"
#include "PhotoTree.h"

#include <cmath>
#include <dirent.h>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

struct Case {
    const char* name;
    std::function<std::vector<std::string>(const std::string& source, const std::string& work)> ours, theirs;
    std::string source;
    bool consumesSource; // the source is made again before each run
    // The new source is written to the disk before the run, as files that have been there
    // a while are; freshly made ones have no blocks yet, and removing them costs less.
    bool onDisk = false;
    // Fills our side's destination before its run, untimed.
    std::function<void(const std::string& source, const std::string& work)> prepareOurs = nullptr;
};

// Half of the source's files (those of its first 50 folders) already in `work`, under
// names of their own.
void copyHalfInto(const std::string& source, const std::string& work)
{
    int number = 0;
    for (int folder = 0; folder < 50; ++folder) {
        const std::string from = source + "/d" + std::to_string(folder);
        if (DIR* listing = opendir(from.c_str())) {
            while (const dirent* entry = readdir(listing)) {
                if (entry->d_name[0] == '.')
                    continue;
                const std::string content = bench::readFile(from + "/" + entry->d_name);
                bench::writeFile(work + "/there_" + std::to_string(number++) + ".jpg", content);
            }
            closedir(listing);
        }
    }
}

// About as many names as a copy run gives a million files with 100 to a name.
void makeEmptyFiles(const std::string& folder, int count)
{
    char name[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "/IMG_%05d_%03d.jpg", i % 10'000, i / 10'000);
        const int fd = open((folder + name).c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0)
            _exit(1);
        close(fd);
    }
}

int millionCase(const std::string& quorvane, const std::string& base)
{
    // A full disk would fail the runs and every other program writing to it.
    struct statvfs disk {};
    if (statvfs(base.c_str(), &disk) != 0 || disk.f_bavail * disk.f_frsize < 30e9 || disk.f_favail < 7'000'000) {
        std::fprintf(stderr, "%s needs 30 GB and 7 million inodes free\n", base.c_str());
        return 1;
    }
    const std::string tree = base + "/million";
    bench::makeWideTree(tree, 1'000'000, 10'000, 10'000);
    const std::string outputs = base + "/million-out-" + std::to_string(getpid());
    mkdir(outputs.c_str(), 0755);
    ::setenv("XDG_STATE_HOME", (outputs + "/state").c_str(), 1);
    int number = 0;
    const auto fresh = [&] {
        const std::string folder = outputs + "/" + std::to_string(number++);
        mkdir(folder.c_str(), 0755);
        return folder;
    };
    // cp makes its own target; ours and the loop fill an empty folder.
    const std::vector<std::pair<const char*, std::function<bench::Timing()>>> sides{
        {"quorvane copy", [&] { return bench::timeCommand({quorvane, "copy", tree, fresh(), "-q"}); }},
        {"cp -rp", [&] { return bench::timeCommand({"cp", "-rp", tree, fresh() + "/tree"}); }},
        {"floor", [&] {
             const std::string folder = fresh();
             return bench::timeChild([&] { makeEmptyFiles(folder, 1'000'000); });
         }},
    };
    // The warm-up reads the whole tree and takes the memory a run takes; then one copy
    // by cp, untimed, writes as much as a run writes, so that the first timed run does not
    // alone pay for page cache the machine has not handed out before.
    std::printf("warm-up: dry run, cp -rp ...\n");
    bench::timeCommand({quorvane, "copy", tree, fresh(), "-q", "--dry-run"});
    bench::timeCommand({"cp", "-rp", tree, fresh() + "/tree"});
    std::vector<std::vector<bench::Timing>> timings(sides.size());
    // Ours, cp, the floor; then cp and ours again, in the other order. The floor's
    // figure is a property of the file system, measured once.
    const std::vector<std::size_t> order{0, 1, 2, 1, 0};
    for (const std::size_t side : order) {
        timings[side].push_back(sides[side].second());
        const bench::Timing& t = timings[side].back();
        std::printf("  %-14s %7.2f s wall %7.2f s processor %6ld MiB%s\n", sides[side].first, t.wall, t.cpu,
                    t.peakKiB / 1024, t.failed ? "  FAILED, left out" : "");
        std::fflush(stdout);
    }
    const auto medianOf = [&](std::size_t side, double bench::Timing::*field) {
        std::vector<double> values;
        for (const bench::Timing& t : timings[side]) {
            if (!t.failed)
                values.push_back(t.*field);
        }
        if (values.empty())
            return std::nan("");
        std::sort(values.begin(), values.end());
        return (values.front() + values.back()) / 2; // of two runs, their mean
    };
    long peak = 0;
    for (const bench::Timing& t : timings[0])
        peak = std::max(peak, t.peakKiB);
    for (const auto field : {&bench::Timing::wall, &bench::Timing::cpu}) {
        const char* what = field == &bench::Timing::wall ? "wall" : "processor";
        std::printf("%-9s ours %7.2f s, cp -rp %7.2f s, floor %7.2f s: %.2fx cp -rp, %.2fx the floor\n", what,
                    medianOf(0, field), medianOf(1, field), medianOf(2, field), medianOf(0, field) / medianOf(1, field),
                    medianOf(0, field) / medianOf(2, field));
    }
    std::printf("our peak memory: %ld MiB\n(outputs are left in %s; remove them when done measuring)\n", peak / 1024,
                outputs.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    const bool million = std::erase(arguments, "--million") > 0;
    if (arguments.empty()) {
        std::fprintf(stderr, "usage: bench_command_line QUORVANE [folder [case]] [--million]\n");
        return 2;
    }
    const std::string quorvane = arguments[0];
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = arguments.size() > 1 ? arguments[1] : std::string(tmp ? tmp : "/tmp") + "/quorvane-bench-cli";
    mkdir(base.c_str(), 0755);
    if (million)
        return millionCase(quorvane, base);
    const std::string only = arguments.size() > 2 ? arguments[2] : "";
    const std::string tree = base + "/tree";
    const std::string outputs = base + "/out-" + std::to_string(getpid());
    const std::string otherDisk = "/dev/shm/quorvane-bench-cli-" + std::to_string(getpid());
    mkdir(outputs.c_str(), 0755);
    mkdir(otherDisk.c_str(), 0755);
    ::setenv("XDG_STATE_HOME", (outputs + "/state").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (outputs + "/data").c_str(), 1);

    int number = 0;
    const auto fresh = [&](const std::string& under) {
        const std::string folder = under + "/" + std::to_string(number++);
        mkdir(folder.c_str(), 0755);
        return folder;
    };
    // A small tree for the cases that use up their source: 10,000 files in 100 folders.
    const auto smallTree = [&] {
        const std::string root = fresh(outputs);
        for (int folder = 0; folder < 100; ++folder) {
            const std::string path = root + "/d" + std::to_string(folder);
            mkdir(path.c_str(), 0755);
            for (int file = 0; file < 100; ++file)
                bench::writeFile(path + "/IMG_" + std::to_string(file) + ".jpg", std::string(256, 'x'));
        }
        return root;
    };
    const std::string smallFiles = base + "/small";
    const std::string distinctFiles = base + "/distinct";
    const std::vector<Case> cases{
        {"copy 10,000 small flat / cp -pr",
         [&](const std::string& s, const std::string& w) { return std::vector<std::string>{quorvane, "copy", s, w, "-q"}; },
         [&](const std::string& s, const std::string& w) { return std::vector<std::string>{"cp", "-pr", s, w}; },
         smallFiles, false},
        // Leaving identical files: when there are none, what the look costs; when half
        // the files are there already, what it saves. Against the same copy without it.
        {"skip-identical, no twins / plain copy",
         [&](const std::string& s, const std::string& w) {
             return std::vector<std::string>{quorvane, "copy", s, w, "-q", "--skip-identical"}; },
         [&](const std::string& s, const std::string& w) { return std::vector<std::string>{quorvane, "copy", s, w, "-q"}; },
         distinctFiles, false},
        {"skip-identical, half twins / plain copy",
         [&](const std::string& s, const std::string& w) {
             return std::vector<std::string>{quorvane, "copy", s, w, "-q", "--skip-identical"}; },
         [&](const std::string& s, const std::string& w) { return std::vector<std::string>{quorvane, "copy", s, w, "-q"}; },
         distinctFiles, false, false, copyHalfInto},
        {"copy 100,000 flat / cp -rp tree",
         [&](const std::string& s, const std::string& w) { return std::vector<std::string>{quorvane, "copy", s, w, "-q"}; },
         [&](const std::string& s, const std::string& w) { return std::vector<std::string>{"cp", "-rp", s, w}; }, tree, false},
        {"move 10,000 to /dev/shm / mv",
         [&](const std::string& s, const std::string&) {
             return std::vector<std::string>{quorvane, "move", s, fresh(otherDisk), "-q"}; },
         [&](const std::string& s, const std::string&) { return std::vector<std::string>{"mv", s, fresh(otherDisk)}; },
         {}, true},
        {"move 10,000 on disk to /dev/shm / mv",
         [&](const std::string& s, const std::string&) {
             return std::vector<std::string>{quorvane, "move", s, fresh(otherDisk), "-q"}; },
         [&](const std::string& s, const std::string&) { return std::vector<std::string>{"mv", s, fresh(otherDisk)}; },
         {}, true, true},
        {"delete 10,000 / find -delete",
         [&](const std::string& s, const std::string&) { return std::vector<std::string>{quorvane, "delete", s, "-q"}; },
         [&](const std::string& s, const std::string&) {
             return std::vector<std::string>{"find", s, "-type", "f", "-delete"}; }, {}, true},
        {"trash 10,000 / gio trash",
         [&](const std::string& s, const std::string&) {
             return std::vector<std::string>{quorvane, "trash", s, "-q", "--yes"}; },
         [&](const std::string& s, const std::string&) {
             return std::vector<std::string>{"find", s, "-type", "f", "-exec", "gio", "trash", "{}", "+"}; },
         {}, true},
    };
    std::printf("%-36s %9s %9s %7s %7s %9s %9s %10s %10s\n", "case (ours / theirs)", "ours", "theirs", "ratio", "paired",
                "our cpu", "their cpu", "our peak", "their peak");
    for (const Case& test : cases) {
        if (std::string(test.name).find(only) == std::string::npos)
            continue;
        if (test.source == tree)
            bench::makePhotoTree(tree, 100'000, 1'001, std::string(256, 'x'));
        if (test.source == smallFiles)
            bench::makeSmallFilesTree(smallFiles);
        if (test.source == distinctFiles)
            bench::makeSmallFilesTree(distinctFiles, true);
        std::vector<double> ours, theirs, ourCpu, theirCpu;
        long ourPeak = 0, theirPeak = 0;
        for (int round = 0; round <= 3; ++round) {
            // Ours first in even rounds, theirs first in odd ones.
            for (const bool mine : {round % 2 == 0, round % 2 != 0}) {
                const std::string source = test.consumesSource ? smallTree() : test.source;
                if (test.onDisk)
                    ::sync();
                const std::string work = fresh(outputs);
                if (mine && test.prepareOurs) {
                    test.prepareOurs(source, work);
                    ::sync();
                }
                const bench::Timing timing = bench::timeCommand((mine ? test.ours : test.theirs)(source, work));
                if (round == 0)
                    continue; // warm-up
                (mine ? ours : theirs).push_back(timing.wall);
                (mine ? ourCpu : theirCpu).push_back(timing.cpu);
                long& peak = mine ? ourPeak : theirPeak;
                peak = std::max(peak, timing.peakKiB);
            }
        }
        // Each run beside the other side's run of the same round: other work on the machine
        // then weighs on both.
        std::vector<double> paired;
        for (std::size_t i = 0; i < ours.size(); ++i)
            paired.push_back(ours[i] / theirs[i]);
        std::printf("%-36s %8.2fs %8.2fs %7.2f %7.2f %8.2fs %8.2fs %7ld MiB %7ld MiB\n", test.name, bench::median(ours),
                    bench::median(theirs), bench::median(ours) / bench::median(theirs), bench::median(paired),
                    bench::median(ourCpu),
                    bench::median(theirCpu), ourPeak / 1024, theirPeak / 1024);
    }
    std::printf("(outputs are left in %s and %s; remove them when the disk has settled)\n", outputs.c_str(),
                otherDisk.c_str());
    return 0;
}
