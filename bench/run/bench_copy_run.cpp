// Times a whole copy run over 100,000 small files in 1,560 folders whose names clash
// heavily (about 100 files bear each name), against
//   find SRC -iname '*.jpg' -exec cp -p --backup=numbered -t DEST {} +
// both as whole processes, after an untimed run of ours that brings the source tree
// into the cache for both. cp runs once: each numbered backup makes it read the whole
// destination folder again, so it takes minutes here, far beyond any spread between
// runs. Every run writes into a fresh destination; the old ones are left for later,
// because files created soon after a mass delete are slow on this kind of machine.
//   bench_copy_run [folder]      (default: $TMPDIR or /tmp, + /quorvane-bench-copy)
#include "BenchSupport.h"
#include "PhotoTree.h"

#include "SilentUser.h"
#include "platform/MemoryTuning.h"
#include "platform/TextCompare.h"
#include "run/CollectionRun.h"
#include "run/FixedRunWindow.h"
#include "toolkit/clsFileFolder.h"

#include <QString>

#include <cstdlib>
#include <dirent.h>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFiles = 100'000;
constexpr int kNames = 1'001;   // about 100 files bear each name; no two files fall on one path
constexpr int kRounds = 3; // of ours; cp once

// Letter case is judged as the program judges it, so the filter costs what it costs there.
class QtTextCompare final : public platform::TextCompare {
public:
    bool equalIgnoringCase(std::string_view left, std::string_view right) override
    {
        return QString::fromUtf8(left.data(), static_cast<qsizetype>(left.size()))
                   .compare(QString::fromUtf8(right.data(), static_cast<qsizetype>(right.size())),
                            Qt::CaseInsensitive)
            == 0;
    }
};

int copyRun(const char* source, const char* dest)
{
    platform::preferLargeHeapPages(); // as the program does at start-up
    bench::SilentUser user;
    QtTextCompare text;
    const platform::UserServices services{user, user, text, user, user, user};
    clsFileFolder toolkit(services);
    run::FixedRunWindow window({source, dest, "jpg", run::Operation::Copy});
    run::CollectionRun collection(window, toolkit, services);
    collection.cmdStartClick();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--run") == 0)
        return copyRun(argv[2], argv[3]);

    const char* tmp = std::getenv("TMPDIR");
    const std::string base = argc > 1 ? argv[1] : std::string(tmp ? tmp : "/tmp") + "/quorvane-bench-copy";
    mkdir(base.c_str(), 0755);
    const std::string source = base + "/src";
    bench::makePhotoTree(source, kFiles, kNames, std::string(256, 'x'));
    const std::string outputs = base + "/out-" + std::to_string(getpid());
    mkdir(outputs.c_str(), 0755);

    int destNumber = 0;
    const auto freshDest = [&] {
        const std::string dest = outputs + "/" + std::to_string(destNumber++);
        mkdir(dest.c_str(), 0755);
        return dest;
    };
    const auto timeCp = [&] {
        const std::string dest = freshDest();
        const bench::Timing timing = bench::timeCommand({"find", source, "-iname", "*.jpg", "-exec", "cp",
                                                         "-p", "--backup=numbered", "-t", dest, "{}", "+"});
        if (bench::entriesIn(dest) != kFiles)
            std::fprintf(stderr, "cp left %zu files\n", bench::entriesIn(dest));
        return timing;
    };
    const auto timeOurs = [&] {
        const std::string dest = freshDest();
        const bench::Timing timing = bench::timeCommand({argv[0], "--run", source, dest});
        if (bench::entriesIn(dest) != kFiles)
            std::fprintf(stderr, "run left %zu files\n", bench::entriesIn(dest));
        return timing;
    };

    timeOurs(); // warm-up, untimed
    std::vector<double> cpWall, cpCpu, ourWall, ourCpu;
    for (int round = 0; round < kRounds; ++round) {
        if (round == kRounds / 2) {
            const bench::Timing cp = timeCp();
            cpWall.push_back(cp.wall);
            cpCpu.push_back(cp.cpu);
        }
        const bench::Timing ours = timeOurs();
        ourWall.push_back(ours.wall);
        ourCpu.push_back(ours.cpu);
    }
    const double cpMedian = bench::median(cpWall);
    const double ourMedian = bench::median(ourWall);
    std::printf("                            wall          processor\n");
    std::printf("find + cp --backup=numbered : %7.2f s     %7.2f s (one run)\n", cpMedian, bench::median(cpCpu));
    std::printf("copy run (search to copies) : %7.2f s     %7.2f s (median of %d)\n", ourMedian,
                bench::median(ourCpu), kRounds);
    std::printf("cp takes                    : %.0fx as long  %.0fx the processor time\n",
                cpMedian / ourMedian, bench::median(cpCpu) / bench::median(ourCpu));
    std::printf("(outputs are left in %s; remove them when the disk has settled)\n", outputs.c_str());
    return 0;
}
