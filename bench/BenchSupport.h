#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <dirent.h>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {

/// Wall-clock and processor seconds (user + system) of one whole run of a command.
struct Timing {
    double wall = 0;
    double cpu = 0;
    long peakKiB = 0; // the largest resident size the command reached
    bool failed = false; // it did not exit with status 0
};

/// Runs a command once, its output thrown away. Processor time is given besides wall
/// time because it stays honest while other work shares the machine.
inline Timing timeCommand(const std::vector<std::string>& command)
{
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
    const auto started = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = 0;
    struct rusage usage {};
    if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0)
        wait4(child, &status, 0, &usage);
    const auto ended = std::chrono::steady_clock::now();
    posix_spawn_file_actions_destroy(&actions);
    const bool failed = !WIFEXITED(status) || WEXITSTATUS(status) != 0;
    if (failed)
        std::fprintf(stderr, "command failed: %s\n", command.front().c_str());
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return {std::chrono::duration<double>(ended - started).count(),
            seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss, failed};
}

/// Runs `work` once in a child process, timed as timeCommand() times a command.
inline Timing timeChild(const std::function<void()>& work)
{
    std::fflush(nullptr);
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    struct rusage usage {};
    if (child > 0)
        wait4(child, &status, 0, &usage);
    const auto ended = std::chrono::steady_clock::now();
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return {std::chrono::duration<double>(ended - started).count(),
            seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss,
            !WIFEXITED(status) || WEXITSTATUS(status) != 0};
}

/// The entries of a folder whose names do not start with a dot.
inline std::size_t entriesIn(const std::string& folder)
{
    std::size_t count = 0;
    if (DIR* listing = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(listing))
            count += entry->d_name[0] != '.';
        closedir(listing);
    }
    return count;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace bench
