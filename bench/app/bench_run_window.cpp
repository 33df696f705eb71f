// What the run window costs: a whole copy run of 10,000 files with the window up from
// its start (and following every file) against the same run whose window never comes
// up, in pairs whose order alternates, as whole processes with the program's real
// services (the operations' worker thread, the event loop's yields). The yardstick
//   find SRC -iname '*.jpg' -exec cp -p -t DEST {} +
// is timed in the same session. Every run writes into a fresh destination; the old
// ones are left for later, because files created soon after a mass delete are slow here.
//   bench_run_window [folder]     (default: $TMPDIR or /tmp, + /quorvane-bench-window)
#include "BenchSupport.h"
#include "PhotoTree.h"

#include "app/RunProgressWindow.h"
#include "platform/MemoryTuning.h"
#include "platform/qt/QtUserServices.h"
#include "run/CollectionRun.h"
#include "run/FixedRunWindow.h"
#include "toolkit/clsFileFolder.h"

#include <QApplication>

#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFiles = 10'000;
constexpr int kPairs = 5;

int copyRun(bool shown, const char* source, const char* dest)
{
    platform::preferLargeHeapPages();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "bench_run_window";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    platform::QtUserServices services;
    clsFileFolder toolkit(services.services());
    run::FixedRunWindow window({source, dest, "jpg", run::Operation::Copy});
    run::CollectionRun collection(window, toolkit, services.services());
    RunProgressWindow runWindow(nullptr, [] {});
    runWindow.setShowDelay(shown ? std::chrono::milliseconds(0) : std::chrono::hours(24));
    collection.setMonitor(&runWindow);
    collection.cmdStartClick();
    return runWindow.isVisible() == shown ? 0 : 1; // shown: its report is up
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--run") == 0)
        return copyRun(std::strcmp(argv[2], "shown") == 0, argv[3], argv[4]);

    const char* tmp = std::getenv("TMPDIR");
    const std::string base = argc > 1 ? argv[1] : std::string(tmp ? tmp : "/tmp") + "/quorvane-bench-window";
    mkdir(base.c_str(), 0755);
    const std::string source = base + "/src";
    bench::makePhotoTree(source, kFiles, kFiles, std::string(4096, 'x'));
    const std::string outputs = base + "/out-" + std::to_string(getpid());
    mkdir(outputs.c_str(), 0755);

    int destNumber = 0;
    const auto timed = [&](const std::vector<std::string>& command, const std::string& dest) {
        const bench::Timing timing = bench::timeCommand(command);
        if (bench::entriesIn(dest) != kFiles)
            std::fprintf(stderr, "%s left %zu files\n", command[0].c_str(), bench::entriesIn(dest));
        return timing;
    };
    const auto freshDest = [&] {
        const std::string dest = outputs + "/" + std::to_string(destNumber++);
        mkdir(dest.c_str(), 0755);
        return dest;
    };
    const auto ours = [&](const char* mode) {
        const std::string dest = freshDest();
        return timed({argv[0], "--run", mode, source, dest}, dest);
    };
    const auto cp = [&] {
        const std::string dest = freshDest();
        return timed({"find", source, "-iname", "*.jpg", "-exec", "cp", "-p", "-t", dest, "{}", "+"}, dest);
    };

    ours("hidden"); // warm-up, untimed
    std::vector<double> shownWall, hiddenWall, ratios, cpWall;
    for (int pair = 0; pair < kPairs; ++pair) {
        const bool shownFirst = pair % 2 == 0;
        const bench::Timing first = ours(shownFirst ? "shown" : "hidden");
        const bench::Timing second = ours(shownFirst ? "hidden" : "shown");
        const bench::Timing& shown = shownFirst ? first : second;
        const bench::Timing& hidden = shownFirst ? second : first;
        shownWall.push_back(shown.wall);
        hiddenWall.push_back(hidden.wall);
        ratios.push_back(shown.wall / hidden.wall);
        if (pair == kPairs / 2)
            cpWall.push_back(cp().wall);
    }
    std::printf("copy of %d files                      wall (median of %d)\n", kFiles, kPairs);
    std::printf("run, window never up               : %6.3f s\n", bench::median(hiddenWall));
    std::printf("run, window up and following       : %6.3f s\n", bench::median(shownWall));
    std::printf("window up / never up (paired)      : %6.3f\n", bench::median(ratios));
    std::printf("find + cp -p (one run)             : %6.3f s\n", cpWall.front());
    std::printf("(outputs are left in %s; remove them when the disk has settled)\n", outputs.c_str());
    return 0;
}
