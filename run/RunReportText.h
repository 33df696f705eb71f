#pragma once

#include "run/RunReport.h"

#include <chrono>
#include <cstdint>
#include <string>

// A run's report put into words, the same for every view of it (the run window, a
// terminal). UTF-8.
namespace run::report_text {

/// The operation as the option buttons name it: "コピー", "移動", "完全削除", "ごみ箱へ".
std::string operationName(Operation operation);
/// The run window's title: "37% - コピー" while it runs, "完了 - コピー" or
/// "中断 - コピー" once it has ended.
std::string title(const RunReport& report);
/// "1,234" ; "12.3 MB" (binary units, one decimal from KB on) ; "1:02:03" or "0:42".
std::string count(std::uint64_t value);
std::string size(std::uint64_t bytes);
std::string duration(std::chrono::steady_clock::duration elapsed);

/// The lines of a running run: what it does, files and bytes done, times.
std::string progress(const RunReport& report, std::chrono::steady_clock::time_point now);
/// The counts of an ended run, a line each.
std::string summary(const RunReport& report);
/// Every file that failed or was skipped, with its reason: "path\n    reason", a pair
/// of lines each; then, under a heading, every file done under a name fitted to the
/// destination: "path\n    → new name". Empty when there is none.
std::string problems(const RunReport& report);
/// The files skipped because the destination holds their bytes, each with the file it
/// matched; empty when there are none. Part of problems().
std::string twins(const RunReport& report);

} // namespace run::report_text
