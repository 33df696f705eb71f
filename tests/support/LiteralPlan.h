#pragma once

#include "run/NameRules.h"
#include "toolkit/PathList.h"

#include <cstdint>
#include <functional>

/// The numbering of destination names done the slow, obvious way, entry by entry against
/// the disk and then against every other entry: the quadratic reference the fast plan must
/// agree with. `yieldAndTest` is called wherever the step-by-step procedure hands control
/// to the event loop, and a false answer stops it there.
bool literalPlan(PathList& names, std::int32_t lastIndex, const run::NameRules& rules,
                 const std::function<bool()>& yieldAndTest);
