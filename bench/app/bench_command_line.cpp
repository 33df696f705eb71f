// The command line against the standard tools, as whole processes in one session, with
// their peak memory: a copy of 100,000 files (about 100 per name) flattened into one
// folder against `cp -rp` of the tree (which does not flatten, so it has no names to
// number); a move of 10,000 files to another file system (/dev/shm) against `mv`, just
// made and once written to the disk; a delete of 10,000 against `find -delete`; a trash of 10,000 files against `gio trash` of
// each (trashing their folder would be one rename). Each
// pair runs twice in alternating order after a warm-up; the medians are shown.
// `find -exec cp --backup=numbered` takes minutes here: bench_copy_run measures it.
//   bench_command_line QUORVANE [folder [case]]   (folder: $TMPDIR or /tmp, + /quorvane-bench-cli;
//   case: only the cases whose name holds this text, such as "move")
#include "BenchSupport.h"
#include "PhotoTree.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <sys/stat.h>
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
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_command_line QUORVANE [folder [case]]\n");
        return 2;
    }
    const std::string quorvane = argv[1];
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = argc > 2 ? argv[2] : std::string(tmp ? tmp : "/tmp") + "/quorvane-bench-cli";
    mkdir(base.c_str(), 0755);
    const std::string only = argc > 3 ? argv[3] : "";
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
    const std::vector<Case> cases{
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
        std::vector<double> ours, theirs, ourCpu, theirCpu;
        long ourPeak = 0, theirPeak = 0;
        for (int round = 0; round <= 3; ++round) {
            // Ours first in even rounds, theirs first in odd ones.
            for (const bool mine : {round % 2 == 0, round % 2 != 0}) {
                const std::string source = test.consumesSource ? smallTree() : test.source;
                if (test.onDisk)
                    ::sync();
                const bench::Timing timing = bench::timeCommand((mine ? test.ours : test.theirs)(source, fresh(outputs)));
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
