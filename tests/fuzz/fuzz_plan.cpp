// Fuzz target: the indexed plan of destination names must give exactly the names that
// the step-by-step reference gives, for any list of names and any names already on
// disk. The input bytes spell names from a tiny alphabet so that collisions, numbered
// look-alikes and case variants are the rule, not the exception.
#include "run/DestPlanner.h"
#include "run/NameRules.h"
#include "support/LiteralPlan.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace {

constexpr std::size_t kMostNames = 48; // the reference is quadratic

const char* const kPieces[] = {"a", "A", "b", ".", "_", "0", "1", "_001", ".jpg", "ä", "Ä", "\xe9"};
constexpr std::size_t kPieceCount = sizeof kPieces / sizeof kPieces[0];

struct Case {
    PathList names;
    std::set<std::string> onDisk;
    bool foldCase = false;
};

// Byte 0 chooses the comparison; then each byte is a piece of a name, or (values past
// the pieces) ends the name, sending it to the plan or to the disk.
Case decode(const std::uint8_t* data, std::size_t size)
{
    Case result;
    if (size == 0)
        return result;
    result.foldCase = (data[0] & 1) != 0;
    std::string name;
    for (std::size_t i = 1; i < size && result.names.size() < kMostNames; ++i) {
        const std::size_t value = data[i] % (kPieceCount + 2);
        if (value < kPieceCount) {
            name += kPieces[value];
            continue;
        }
        const std::string path = "/dest/" + name;
        if (value == kPieceCount)
            result.names.push_back(path);
        else
            result.onDisk.insert(path);
        name.clear();
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Case input = decode(data, size);
    if (input.names.empty())
        return 0;
    auto key = [&input](std::string_view name) {
        return input.foldCase ? run::caseFoldedKey(name) : std::string(name);
    };
    run::NameRules rules{[&](const std::string& path) {
                             for (const std::string& taken : input.onDisk) {
                                 if (key(taken) == key(path))
                                     return true;
                             }
                             return false;
                         },
                         nullptr, run::fileNameStemEnd};
    if (input.foldCase)
        rules.nameKey = run::caseFoldedKey;

    PathList fast = input.names;
    PathList slow = input.names;
    const auto last = static_cast<std::int32_t>(input.names.size()) - 1;
    run::DestPlanner(rules, [] { return true; }).plan(fast, last);
    literalPlan(slow, last, rules, [] { return true; });
    if (fast != slow) {
        for (std::size_t i = 0; i < fast.size(); ++i)
            std::fprintf(stderr, "%s -> fast %s, reference %s\n", input.names[i].c_str(),
                         fast[i].c_str(), slow[i].c_str());
        std::abort();
    }
    return 0;
}
