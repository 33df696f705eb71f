#pragma once

#include <string>

/// A folder of the test's tree seen through latencyfs, the FUSE file system that waits
/// a delay before every call as a network share or a phone does, and can hold one
/// file's reads (or one folder's listing) up until the test lets them go. Unmounted at
/// the end.
class LatencyMount {
public:
    struct Options {
        Options(double delay = 0) : delayMs(delay) {} // not explicit: a bare delay is the usual case
        double delayMs;
        std::string stall;        // as the mount sees it ("/a/b.jpg"); empty for none
        double stallSeconds = 30; // the stall's bound
        std::string stallRelease; // the stall ends as soon as this file exists
        std::string stallStarted; // made as the stall begins
    };

    /// Mirrors `backing` at `mountPoint` (made if missing), a delay in milliseconds or
    /// the whole Options given.
    LatencyMount(const std::string& backing, const std::string& mountPoint, const Options& options);
    ~LatencyMount();
    LatencyMount(const LatencyMount&) = delete;
    LatencyMount& operator=(const LatencyMount&) = delete;

    /// Where it is mounted; empty when it could not be, and why() says why.
    const std::string& mountPoint() const { return m_mountPoint; }
    const std::string& why() const { return m_why; }

private:
    std::string m_mountPoint;
    std::string m_why;
};
