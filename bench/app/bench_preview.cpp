// What the preview window costs at 100,000 planned files: the time from a plan made (a
// dry run, timed too) to the window up with its first rows painted, offscreen, and what
// sorting by path and showing only the changed rows take on that plan. Most names recur
// (10,000 names), so most rows are numbered. Median of five.
//   bench_preview [folder]     (default: $TMPDIR or /tmp, + /quorvane-bench-preview)
#include "BenchSupport.h"
#include "PhotoTree.h"

#include "app/PlanTableModel.h"
#include "app/PreviewWindow.h"
#include "platform/qt/QtUserServices.h"
#include "run/CollectionRun.h"
#include "run/FixedRunWindow.h"
#include "toolkit/clsFileFolder.h"

#include <QApplication>
#include <QTableView>

#include <chrono>
#include <cstdlib>
#include <sys/stat.h>

namespace {

constexpr int kFiles = 100'000;
constexpr int kNames = 10'000;
constexpr int kRounds = 5;

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = argc > 1 ? argv[1] : std::string(tmp ? tmp : "/tmp") + "/quorvane-bench-preview";
    mkdir(base.c_str(), 0755);
    const std::string source = base + "/src";
    bench::makePhotoTree(source, kFiles, kNames, "x");
    const std::string dest = base + "/dest";
    mkdir(dest.c_str(), 0755);

    platform::QtUserServices services;
    clsFileFolder toolkit(services.services());
    run::FixedRunWindow window({source, dest, "jpg", run::Operation::Copy});
    run::CollectionRun collection(window, toolkit, services.services());
    collection.setDryRun(true);

    std::vector<double> plan, firstRows, sorted, changesOnly;
    for (int round = 0; round < kRounds; ++round) {
        auto start = std::chrono::steady_clock::now();
        collection.cmdStartClick();
        plan.push_back(secondsSince(start));
        if (collection.report().files.size() != static_cast<std::size_t>(kFiles))
            std::fprintf(stderr, "planned %zu files\n", collection.report().files.size());

        start = std::chrono::steady_clock::now();
        PreviewWindow preview(nullptr);
        preview.showPlan(collection.report()); // a copy, as the program hands it over
        preview.show();
        preview.table()->viewport()->grab(); // the rows in view, painted
        firstRows.push_back(secondsSince(start));

        start = std::chrono::steady_clock::now();
        preview.table()->sortByColumn(PlanTableModel::Source, Qt::AscendingOrder);
        preview.table()->viewport()->grab();
        sorted.push_back(secondsSince(start));

        start = std::chrono::steady_clock::now();
        preview.rowsShown()->setChangesOnly(true);
        preview.table()->viewport()->grab();
        changesOnly.push_back(secondsSince(start));
    }
    std::printf("preview of %d files (median of %d)\n", kFiles, kRounds);
    std::printf("  plan (dry run):              %.3f s\n", bench::median(plan));
    std::printf("  plan to first rows painted:  %.3f s\n", bench::median(firstRows));
    std::printf("  sort by source path:         %.3f s\n", bench::median(sorted));
    std::printf("  changed rows only:           %.3f s\n", bench::median(changesOnly));
    return 0;
}
