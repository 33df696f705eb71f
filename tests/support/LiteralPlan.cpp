#include "support/LiteralPlan.h"

#include <cstddef>
#include <string>

namespace {

// Gives the entry the counter `counter`. A suffix given earlier in the same pass
// (`suffixLength` characters) is cut off the stem first; a fresh numbering passes 0.
void giveNumber(std::string& name, std::size_t& suffixLength, std::int32_t counter,
                const run::NameRules& rules)
{
    const std::size_t dot = rules.stemEnd(name);
    std::string stem = name.substr(0, dot);
    const std::string extension = name.substr(dot);
    if (suffixLength > 0)
        stem.erase(stem.size() - suffixLength);
    const std::string suffix = std::string(1, '_').append(run::counterText(counter));
    name = stem + suffix + extension;
    suffixLength = suffix.size();
}

} // namespace

bool literalPlan(PathList& names, std::int32_t lastIndex, const run::NameRules& rules,
                 const std::function<bool()>& yieldAndTest)
{
    const auto same = [&](const std::string& left, const std::string& right) {
        return rules.nameKey ? rules.nameKey(left) == rules.nameKey(right) : left == right;
    };
    const auto at = [&](std::int32_t index) -> std::string& {
        return names[static_cast<std::size_t>(index)];
    };

    for (std::int32_t j = 0; j <= lastIndex; ++j) {
        std::int32_t counter = 0;
        std::size_t ownSuffix = 0; // nonzero once entry j has been numbered in this pass
        const std::string startingName = at(j);

        for (;;) {
            if (!yieldAndTest())
                return false;
            if (!rules.isTaken(at(j)))
                break;
            ++counter;
            giveNumber(at(j), ownSuffix, counter, rules);
        }

        for (std::int32_t k = 0; k <= lastIndex; ++k) {
            if (!yieldAndTest())
                return false;
            if (k == j)
                continue;
            std::int32_t numbered = -1;
            std::size_t otherSuffix = 0;
            if (same(at(k), startingName)) {
                ++counter;
                giveNumber(at(k), otherSuffix, counter, rules);
                numbered = k;
            } else if (same(at(k), at(j))) {
                ++counter;
                giveNumber(at(j), ownSuffix, counter, rules);
                numbered = j;
            }
            if (numbered < 0)
                continue;
            std::size_t& suffix = numbered == j ? ownSuffix : otherSuffix;
            for (;;) {
                bool borneByAnother = false;
                for (std::int32_t m = 0; m <= lastIndex && !borneByAnother; ++m)
                    borneByAnother = m != numbered && same(at(m), at(numbered));
                if (!borneByAnother)
                    break;
                ++counter;
                giveNumber(at(numbered), suffix, counter, rules);
            }
        }
    }
    return true;
}
