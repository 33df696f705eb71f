#pragma once

#include "Stall.h"

#include <chrono>
#include <fuse.h>

/// What the operations share: the backing folder, opened once, so that every call is
/// made relative to it (the process may leave its working folder when it detaches),
/// the delay each call waits before it is carried out, and the one stall.
struct LatencyFs {
    int root = -1;
    std::chrono::nanoseconds delay{0};
    Stall* stall = nullptr;
};

/// The operations of a passthrough to `LatencyFs::root` that waits the delay before
/// every call, as a share does for each round trip. Calls on an open file use its
/// descriptor, so an open file removed by its name keeps working as on a local disk.
const fuse_operations& latencyOperations();
