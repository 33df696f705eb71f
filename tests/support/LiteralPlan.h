#pragma once

#include "run/NameRules.h"
#include "toolkit/PathList.h"

#include <cstdint>
#include <functional>

/// The numbering of destination names done the slow, obvious way: for each entry in
/// turn, test the disk name by name, then compare it with every other entry of the
/// plan, one after another. Quadratic, and kept that way on purpose: it is the
/// reference the fast plan must agree with for every input. Same rules, same result,
/// same in-place update; `yieldAndTest` is called wherever the step-by-step procedure
/// hands control to the event loop, and a false answer stops it there.
bool literalPlan(PathList& names, std::int32_t lastIndex, const run::NameRules& rules,
                 const std::function<bool()>& yieldAndTest);
