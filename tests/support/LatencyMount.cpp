#include "support/LatencyMount.h"

#include <cstdio>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Runs a program to its end, its output left to the test's; true when it exits with 0.
bool runs(std::vector<std::string> command)
{
    std::vector<char*> argv;
    for (std::string& word : command)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    int status = 0;
    return ::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) == 0
        && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A value inside a -o list, where a comma would start the next option.
std::string escaped(const std::string& value)
{
    std::string text;
    for (const char c : value) {
        if (c == ',' || c == '\\')
            text += '\\';
        text += c;
    }
    return text;
}

bool onItsOwnDevice(const std::string& path)
{
    struct stat inside {}, parent {};
    return ::stat(path.c_str(), &inside) == 0 && ::stat((path + "/..").c_str(), &parent) == 0
        && inside.st_dev != parent.st_dev;
}

} // namespace

LatencyMount::LatencyMount(const std::string& backing, const std::string& mountPoint, const Options& options)
{
    const std::string program = QUORVANE_LATENCYFS;
    if (program.empty())
        m_why = "latencyfs was not built (libfuse3-dev is missing)";
    else if (::access("/dev/fuse", R_OK | W_OK) != 0)
        m_why = "/dev/fuse is missing";
    else if (!runs({"sh", "-c", "command -v fusermount3 >/dev/null"}))
        m_why = "fusermount3 (fuse3) is not installed";
    if (!m_why.empty())
        return;
    ::mkdir(mountPoint.c_str(), 0755);
    char delay[32];
    std::snprintf(delay, sizeof delay, "%.3f", options.delayMs);
    std::string settings = std::string("delay_ms=") + delay;
    if (!options.stall.empty()) {
        char bound[32];
        std::snprintf(bound, sizeof bound, "%.3f", options.stallSeconds);
        settings += ",stall=" + escaped(options.stall) + ",stall_s=" + bound;
        if (!options.stallRelease.empty())
            settings += ",stall_release=" + escaped(options.stallRelease);
        if (!options.stallStarted.empty())
            settings += ",stall_started=" + escaped(options.stallStarted);
    }
    // Without -f it returns once the file system is mounted, and serves it in the
    // background until it is unmounted.
    if (!runs({program, backing, mountPoint, "-o", settings}) || !onItsOwnDevice(mountPoint)) {
        m_why = "latencyfs could not mount " + mountPoint;
        return;
    }
    m_mountPoint = mountPoint;
}

LatencyMount::~LatencyMount()
{
    // A file a failed test left open keeps the mount busy: then it is detached at once
    // and goes when the file is closed.
    if (!m_mountPoint.empty() && !runs({"fusermount3", "-u", "-q", m_mountPoint}))
        runs({"fusermount3", "-u", "-z", "-q", m_mountPoint});
}
