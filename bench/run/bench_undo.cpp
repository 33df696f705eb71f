// Times the undo of a whole run against the run itself: a copy and a move of 100,000
// small files in 1,560 folders into one folder, each followed by the undo of it, as
// whole processes, three rounds after a warm-up, with the program's journal. Yardsticks in the same
// session: `find -exec cp` for the copy, `find -delete` for what undoing it does.
// Every round works in fresh folders; old ones are left for later (see BENCH_NOTES).
//   bench_undo [folder]      (default: $TMPDIR or /tmp, + /quorvane-bench-undo)
#include "BenchSupport.h"
#include "PhotoTree.h"
#include "SilentUser.h"

#include "platform/MemoryTuning.h"
#include "run/CollectionRun.h"
#include "run/FixedRunWindow.h"
#include "toolkit/clsFileFolder.h"

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFiles = 100'000;
constexpr int kRounds = 3;

// `--run copy|move SRC DEST STATE` or `--undo STATE`.
int child(char** argv)
{
    platform::preferLargeHeapPages();
    bench::SilentUser user;
    user.answerYes = true;
    clsFileFolder toolkit(user.services());
    const bool undo = std::strcmp(argv[1], "--undo") == 0;
    const auto operation = !undo && std::strcmp(argv[2], "move") == 0 ? run::Operation::Move : run::Operation::Copy;
    run::FixedRunWindow window({undo ? "" : argv[3], undo ? "" : argv[4], "jpg", operation});
    run::CollectionRun collection(window, toolkit, user.services());
    collection.setJournalFolder(undo ? argv[2] : argv[5]);
    if (undo)
        collection.undoLastClick();
    else
        collection.cmdStartClick();
    const run::RunCounts counts = collection.report().counts();
    return counts.done == kFiles ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if ((argc == 6 && std::strcmp(argv[1], "--run") == 0) || (argc == 3 && std::strcmp(argv[1], "--undo") == 0))
        return child(argv);

    const char* tmp = std::getenv("TMPDIR");
    const std::string base = argc > 1 ? argv[1] : std::string(tmp ? tmp : "/tmp") + "/quorvane-bench-undo";
    mkdir(base.c_str(), 0755);
    const std::string source = base + "/src";
    bench::makePhotoTree(source, kFiles, 1'001, std::string(256, 'x'));
    const std::string outputs = base + "/out-" + std::to_string(getpid());
    mkdir(outputs.c_str(), 0755);

    int number = 0;
    const auto fresh = [&] {
        const std::string folder = outputs + "/" + std::to_string(number++);
        mkdir(folder.c_str(), 0755);
        return folder;
    };
    // Moves and their undos are renames only; they come first. Each copy is undone right
    // after it, as a user would, while its files are still in the cache. An undo of a copy
    // is a mass delete, after which new files are slow here for minutes: only the first
    // copy/undo pair is undisturbed, and it is shown on its own beside the medians.
    std::vector<double> copyRun, copyUndo, moveRun, moveUndo, ratioCopy, ratioMove;
    for (int round = 0; round <= kRounds; ++round) {
        const std::string moved = fresh(), state = fresh();
        const bench::Timing move = bench::timeCommand({argv[0], "--run", "move", source, moved, state});
        const bench::Timing back = bench::timeCommand({argv[0], "--undo", state}); // the tree is whole again
        if (round > 0) { // the first is the warm-up
            moveRun.push_back(move.wall);
            moveUndo.push_back(back.wall);
            ratioMove.push_back(back.wall / move.wall);
        }
    }
    const std::string cpDest = fresh();
    const double cpWall = bench::timeCommand({"find", source, "-iname", "*.jpg", "-exec", "cp", "-p", "-t", cpDest,
                                              "{}", "+"}).wall;
    for (int round = 0; round < kRounds; ++round) {
        const std::string dest = fresh(), state = fresh();
        copyRun.push_back(bench::timeCommand({argv[0], "--run", "copy", source, dest, state}).wall);
        copyUndo.push_back(bench::timeCommand({argv[0], "--undo", state}).wall);
        ratioCopy.push_back(copyUndo.back() / copyRun.back());
    }
    const double deleteWall = bench::timeCommand({"find", cpDest, "-type", "f", "-delete"}).wall;
    std::printf("first copy %.2f s, its undo %.2f s: %.2f (the pair before any mass delete)\n", copyRun[0],
                copyUndo[0], ratioCopy[0]);
    std::printf("100,000 files               run        undo      undo / run (median of %d)\n", kRounds);
    std::printf("copy                     %6.2f s   %6.2f s   %5.2f\n", bench::median(copyRun),
                bench::median(copyUndo), bench::median(ratioCopy));
    std::printf("move (same file system)  %6.2f s   %6.2f s   %5.2f\n", bench::median(moveRun),
                bench::median(moveUndo), bench::median(ratioMove));
    std::printf("find -exec cp -p (names clash, so fewer files) %6.2f s; find -delete of them %6.2f s\n",
                cpWall, deleteWall);
    std::printf("(outputs are left in %s; remove them when the disk has settled)\n", outputs.c_str());
    return 0;
}
