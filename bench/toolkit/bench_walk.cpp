// Times the tree search over 100,000 files against `find SRC -type f`, both as whole
// processes, alternating A B A B after a warm-up so that neither gets the cold cache.
//   bench_walk [folder]      (default: $TMPDIR or /tmp, + /quorvane-bench-walk)
#include "BenchSupport.h"
#include "PhotoTree.h"

#include "SilentUser.h"

#include "platform/MemoryTuning.h"
#include "toolkit/clsFileFolder.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kFiles = 100'000;
constexpr int kRounds = 9;

int walkOnly(const char* folder)
{
    platform::preferLargeHeapPages(); // as the program does at start-up
    bench::SilentUser user;
    clsFileFolder toolkit(user.services());
    toolkit.SFilePath(folder);
    std::printf("%d\n", toolkit.SFilePathCount());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--walk") == 0)
        return walkOnly(argv[2]);

    const char* tmp = std::getenv("TMPDIR");
    const std::string root = argc > 1 ? argv[1] : std::string(tmp ? tmp : "/tmp") + "/quorvane-bench-walk";
    bench::makePhotoTree(root, kFiles, 9999, std::string());

    const std::vector<std::string> find{"find", root, "-type", "f"};
    const std::vector<std::string> self{argv[0], "--walk", root};
    bench::timeCommand(find); // warm-up of both, untimed
    bench::timeCommand(self);
    std::vector<double> findWall, findCpu, ourWall, ourCpu;
    for (int round = 0; round < kRounds; ++round) {
        const bench::Timing a = bench::timeCommand(find);
        const bench::Timing b = bench::timeCommand(self);
        findWall.push_back(a.wall);
        findCpu.push_back(a.cpu);
        ourWall.push_back(b.wall);
        ourCpu.push_back(b.cpu);
    }
    std::printf("medians of %d alternating runs, whole processes, warm cache\n", kRounds);
    std::printf("find -type f : wall %6.1f ms  cpu %6.1f ms\n", bench::median(findWall) * 1e3,
                bench::median(findCpu) * 1e3);
    std::printf("SFilePath    : wall %6.1f ms  cpu %6.1f ms (sorted listing)\n",
                bench::median(ourWall) * 1e3, bench::median(ourCpu) * 1e3);
    std::printf("ratio        : wall %.2fx  cpu %.2fx find\n",
                bench::median(ourWall) / bench::median(findWall),
                bench::median(ourCpu) / bench::median(findCpu));
    return 0;
}
