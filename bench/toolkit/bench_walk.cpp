// Times the tree search over 100,000 files against `find SRC -type f`, both as whole
// processes, alternating A B A B after a warm-up so that neither gets the cold cache.
//   bench_walk [folder]      (default: $TMPDIR or /tmp, + /quorvane-bench-walk)
#include "BenchSupport.h"

#include "platform/EventPump.h"
#include "platform/FolderDialog.h"
#include "platform/MessageBox.h"
#include "platform/TextCompare.h"
#include "toolkit/clsFileFolder.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kTopFolders = 40;
constexpr int kSubFolders = 38; // 40 + 40 * 38 = 1,560 folders
constexpr int kFiles = 100'000;
constexpr int kRounds = 9;

class SilentUser final : public platform::MessageBox, public platform::EventPump, public platform::TextCompare,
                         public platform::FolderDialog {
public:
    void showMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    bool askYesNo(const std::string&) override { return false; }
    void yield() override {}
    bool equalIgnoringCase(std::string_view a, std::string_view b) override { return a == b; }
    std::string chooseFolder(const Request&) override { return {}; }
};

void makeTree(const std::string& root)
{
    const std::string marker = root + "/.complete";
    if (access(marker.c_str(), F_OK) == 0)
        return;
    std::printf("making %d files under %s ...\n", kFiles, root.c_str());
    mkdir(root.c_str(), 0755);
    std::vector<std::string> leaves;
    for (int top = 0; top < kTopFolders; ++top) {
        const std::string topFolder = root + "/album" + std::to_string(top);
        mkdir(topFolder.c_str(), 0755);
        for (int sub = 0; sub < kSubFolders; ++sub) {
            leaves.push_back(topFolder + "/day" + std::to_string(sub));
            mkdir(leaves.back().c_str(), 0755);
        }
    }
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/IMG_%04d.jpg", i % 9999);
        const std::string path = leaves[static_cast<std::size_t>(i) % leaves.size()] + name;
        const int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            close(fd);
    }
    close(open(marker.c_str(), O_CREAT | O_WRONLY, 0644));
}

int walkOnly(const char* folder)
{
    SilentUser user;
    clsFileFolder toolkit(platform::UserServices{user, user, user, user});
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
    makeTree(root);

    const std::vector<std::string> find{"find", root, "-type", "f"};
    const std::vector<std::string> self{argv[0], "--walk", root};
    bench::timeCommand(find); // warm-up of both, untimed
    bench::timeCommand(self);
    std::vector<double> findTimes, ourTimes;
    for (int round = 0; round < kRounds; ++round) {
        findTimes.push_back(bench::timeCommand(find));
        ourTimes.push_back(bench::timeCommand(self));
    }
    const double findMedian = bench::median(findTimes);
    const double ourMedian = bench::median(ourTimes);
    std::printf("find -type f : %7.1f ms (median of %d)\n", findMedian * 1e3, kRounds);
    std::printf("SFilePath    : %7.1f ms (median of %d, sorted, whole process)\n", ourMedian * 1e3, kRounds);
    std::printf("ratio        : %.2fx find\n", ourMedian / findMedian);
    return 0;
}
