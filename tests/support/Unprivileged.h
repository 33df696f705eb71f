#pragma once

#include <functional>
#include <optional>
#include <string>

/// Runs `body` in a child process that has given up root (user and group "nobody"),
/// so that permission bits refuse it as they would refuse an ordinary user. Returns
/// what `body` returned, or nothing when the child failed to report.
std::optional<std::string> runUnprivileged(const std::function<std::string()>& body);
