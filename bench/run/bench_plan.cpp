// Times the plan of destination names: 100,000 and 1,000,000 names with about 100
// entries bearing each name, numbered against a real, empty destination folder (bare
// names, as a run plans them; the step-by-step plan takes whole paths), and
// the step-by-step plan on smaller lists, from which its time for 100,000 follows
// (it grows with the square of the list). Each plan is timed both as the repeated plan
// of one process and as the first plan of a fresh one, which is what a run makes.
//   bench_plan [folder]      (default: $TMPDIR or /tmp, + /quorvane-bench-plan)
#include "BenchSupport.h"

#include "platform/MemoryTuning.h"
#include "run/DestPlanner.h"
#include "run/NameRules.h"
#include "run/TakenNames.h"
#include "support/LiteralPlan.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sys/stat.h>

namespace {

constexpr int kPerName = 100;
constexpr int kRounds = 5;

// `folder` empty gives bare names.
PathList makeNames(const std::string& folder, int count)
{
    PathList names;
    names.reserve(static_cast<std::size_t>(count));
    char name[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "IMG_%05d.jpg", i % (count / kPerName));
        names.push_back(folder + name);
    }
    // Same-named files come from different folders, so they meet spread over the list.
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    return names;
}

double secondsSince(std::chrono::steady_clock::time_point started)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
}

// The plan as a run makes it: the list on large pages, the destination folder read once,
// then the indexed plan.
double timeOnePlan(const std::string& folder, const PathList& names, bool foldCase)
{
    PathList plan;
    platform::reserveOnLargePages(plan, names.size());
    plan.assign(names.begin(), names.end());
    const auto started = std::chrono::steady_clock::now();
    const run::TakenNames taken(folder, foldCase, true);
    run::NameRules rules{[&taken](const std::string& name) { return taken.isNameTaken(name); },
                         nullptr, run::fileNameStemEnd};
    if (foldCase)
        rules.nameKey = run::caseFoldedKey;
    run::DestPlanner planner(rules, [] { return true; });
    planner.plan(plan, static_cast<std::int32_t>(plan.size()) - 1);
    return secondsSince(started);
}

double timeFastPlan(const std::string& folder, const PathList& names, bool foldCase)
{
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round)
        times.push_back(timeOnePlan(folder, names, foldCase));
    return bench::median(times);
}

// A run plans once, into memory it has not used before: each of these plans is the
// only one of a fresh process (this program, asked for one plan).
double timeFreshPlan(const std::string& self, const std::string& folder, int count)
{
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const std::string command = self + " --fresh " + std::to_string(count) + " '" + folder + "'";
        FILE* child = popen(command.c_str(), "r");
        double seconds = 0;
        if (!child || std::fscanf(child, "%lf", &seconds) != 1)
            std::fprintf(stderr, "fresh plan failed\n");
        if (child)
            pclose(child);
        times.push_back(seconds);
    }
    return bench::median(times);
}

double timeLiteralPlan(const PathList& names, const run::NameRules& rules)
{
    PathList plan = names;
    const auto started = std::chrono::steady_clock::now();
    literalPlan(plan, static_cast<std::int32_t>(plan.size()) - 1, rules, [] { return true; });
    return secondsSince(started);
}

} // namespace

int main(int argc, char** argv)
{
    platform::preferLargeHeapPages(); // as the program does at start-up
    if (argc == 4 && std::string(argv[1]) == "--fresh") {
        std::printf("%.6f\n", timeOnePlan(argv[3], makeNames("", std::atoi(argv[2])), false));
        return 0;
    }
    const char* tmp = std::getenv("TMPDIR");
    const std::string root = argc > 1 ? argv[1] : std::string(tmp ? tmp : "/tmp") + "/quorvane-bench-plan";
    mkdir(root.c_str(), 0755);
    const std::string folder = root + "/";
    const run::NameRules exact{run::entryExists, nullptr, run::fileNameStemEnd};

    const PathList hundredThousand = makeNames("", 100'000);
    const PathList million = makeNames("", 1'000'000);
    timeFastPlan(folder, hundredThousand, false); // warm-up, untimed
    const double fast100k = timeFastPlan(folder, hundredThousand, false);
    const double folded100k = timeFastPlan(folder, hundredThousand, true);
    timeFastPlan(folder, million, false);
    const double fast1m = timeFastPlan(folder, million, false);
    std::printf("plan 100,000 names           : %7.3f s (median of %d; budget 0.5 s)\n", fast100k, kRounds);
    std::printf("plan 100,000 names, folded   : %7.3f s (case-folding destination: each new name is also asked of the disk)\n", folded100k);
    std::printf("plan 1,000,000 names         : %7.3f s (%.1fx the 100,000 plan; budget 12x)\n", fast1m,
                fast1m / fast100k);
    const double fresh100k = timeFreshPlan(argv[0], folder, 100'000);
    const double fresh1m = timeFreshPlan(argv[0], folder, 1'000'000);
    std::printf("first plan of a process      : %7.3f s for 100,000, %.3f s for 1,000,000 (%.1fx)\n", fresh100k,
                fresh1m, fresh1m / fresh100k);

    double literal = 0;
    int literalCount = 0;
    for (int count : {1'000, 2'000, 4'000}) {
        literalCount = count;
        literal = timeLiteralPlan(makeNames(folder, count), exact);
        std::printf("step-by-step plan, %5d names: %7.3f s\n", count, literal);
    }
    const double scale = 100'000.0 / literalCount;
    const double literal100k = literal * scale * scale;
    std::printf("step-by-step plan, 100,000   : ~%.0f s (from %d names, squared)\n", literal100k, literalCount);
    std::printf("ratio                        : %.0fx faster\n", literal100k / fast100k);
    return 0;
}
