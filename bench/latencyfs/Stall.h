#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>

/// Holds up the reads of one file, or the listing of one folder, the way a share that
/// stops answering holds up the call: until a release file appears, or at most a given
/// time. A test makes the release file when it has seen what it wants to see during
/// the stall, so it never has to sleep. The stall happens once; later calls go through.
class Stall {
public:
    /// `path` as the mount sees it ("/a/b.jpg"); empty for none. `startedFile`, when
    /// given, is made as the stall begins, so a test can tell that the call now hangs.
    Stall(std::string path, double boundSeconds, std::string releaseFile, std::string startedFile);

    /// Told as a file or folder is opened: its reads or its listing through `handle`
    /// will stall if `path` is the one. libfuse hands later calls the handle only.
    void opened(const char* path, std::uint64_t handle);
    void closed(std::uint64_t handle);
    /// Waits while the stall lasts; returns at once when it is over or does not apply.
    void wait(std::uint64_t handle);

private:
    void waitForRelease() const;

    std::string m_path;
    double m_boundSeconds;
    std::string m_releaseFile;
    std::string m_startedFile;
    std::atomic<bool> m_over{false};
    std::mutex m_mutex;
    std::set<std::uint64_t> m_handles;
};
