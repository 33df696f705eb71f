#pragma once

#include "run/RunReport.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace run {

/// What a run's plan will do with one file, as the preview, the dry run and the report
/// show it. The plan is the run's report before its first file: one value, read by
/// every view.
enum class PlanState : std::uint8_t {
    AsIs,        // placed under its own name (or deleted, or trashed)
    Numbered,    // its name is taken: placed under a numbered one
    Fitted,      // its name was changed to one the destination's file system holds
    Identical,   // the destination holds its bytes already: left
    TooLarge,    // the destination's file system cannot hold a file that large
    ListedTwice, // found before under another item: done once
    Unreachable, // deeper than the longest path
};
inline constexpr std::size_t kPlanStates = 7;

/// The state of one planned file.
PlanState planState(const FileRecord& file);
/// The state's name as the preview shows it ("そのまま", "番号付き", ...).
std::string planStateName(PlanState state);

/// The totals of a plan.
struct PlanTotals {
    std::size_t files = 0;
    std::uint64_t bytes = 0; // of the files to be written, or deleted or trashed
    std::array<std::size_t, kPlanStates> byState{};
};
PlanTotals planTotals(const RunReport& plan);

/// Whether a state means the file is neither placed under its own name nor done as
/// planned: for the preview's "changes only" view.
bool isChange(PlanState state);

/// Whether two plans do the same: the same operation and, file by file in order, the
/// same source, destination, state and size. A run of a preview goes ahead only on the
/// plan the preview showed.
bool samePlan(const RunReport& a, const RunReport& b);

} // namespace run
