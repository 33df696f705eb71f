// latencyfs: a folder mirrored through FUSE with a delay before every call, as a
// network share or a phone answers, for the benchmarks and tests on slow media.
//   latencyfs BACKING MOUNTPOINT [-f] [-o delay_ms=2] [-o stall=/a/b.jpg,stall_s=5]
//             [-o stall_release=FILE] [-o stall_started=FILE] [libfuse options]
// Unmount with `fusermount3 -u MOUNTPOINT`. The loop is multi-threaded (up to 64 calls
// at once unless -o max_threads says otherwise), so calls in flight overlap as they do
// on a share.
#include "LatencyFs.h"
#include "ParallelLookups.h"

#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fuse_opt.h>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

struct Options {
    double delayMs = 0;
    char* stall = nullptr;
    double stallSeconds = 30;
    char* stallRelease = nullptr;
    char* stallStarted = nullptr;
    char* backing = nullptr;
    int help = 0;
};

constexpr fuse_opt kOptions[] = {
    {"delay_ms=%lf", offsetof(Options, delayMs), 0},
    {"stall=%s", offsetof(Options, stall), 0},
    {"stall_s=%lf", offsetof(Options, stallSeconds), 0},
    {"stall_release=%s", offsetof(Options, stallRelease), 0},
    {"stall_started=%s", offsetof(Options, stallStarted), 0},
    {"-h", offsetof(Options, help), 1},
    {"--help", offsetof(Options, help), 1},
    FUSE_OPT_END,
};

// The first word that is not an option is the backing folder; the next, the mount
// point, is left for libfuse.
int takeBacking(void* data, const char* argument, int key, fuse_args*)
{
    auto* options = static_cast<Options*>(data);
    if (key == FUSE_OPT_KEY_NONOPT && !options->backing) {
        options->backing = ::strdup(argument);
        return 0;
    }
    return 1;
}

void usage(const char* program)
{
    std::fprintf(stderr,
                 "usage: %s BACKING MOUNTPOINT [options]\n"
                 "  -o delay_ms=MS         wait MS milliseconds (fractions too) before every call\n"
                 "  -o stall=PATH          hold up the reads of this file, or the listing of this\n"
                 "                         folder, once (PATH as seen in the mount: /a/b.jpg)\n"
                 "  -o stall_s=SECONDS     at most this long (30)\n"
                 "  -o stall_release=FILE  or until FILE exists\n"
                 "  -o stall_started=FILE  made as the stall begins\n"
                 "  -f                     stay in the foreground\n",
                 program);
}

const char* text(const char* value)
{
    return value ? value : "";
}

// What fuse_main() does, with two differences: the kernel may look names up in one
// folder in parallel, and the loop runs up to 64 calls at once unless told otherwise.
int serve(fuse_args& arguments, LatencyFs& fs)
{
    fuse_cmdline_opts command {};
    if (fuse_parse_cmdline(&arguments, &command) != 0 || !command.mountpoint) {
        std::fprintf(stderr, "latencyfs: no mount point given\n");
        return 2;
    }
    fuse* session = fuse_new(&arguments, &latencyOperations(), sizeof(fuse_operations), &fs);
    int status = 1;
    if (session && fuse_mount(session, command.mountpoint) == 0) {
        if (allowParallelLookups(fuse_get_session(session)) && fuse_daemonize(command.foreground) == 0
            && fuse_set_signal_handlers(fuse_get_session(session)) == 0) {
            if (command.singlethread) {
                status = fuse_loop(session);
            } else {
                fuse_loop_config* loop = fuse_loop_cfg_create();
                fuse_loop_cfg_set_clone_fd(loop, static_cast<unsigned>(command.clone_fd));
                fuse_loop_cfg_set_max_threads(loop, command.max_threads);
                if (command.max_idle_threads != UINT_MAX)
                    fuse_loop_cfg_set_idle_threads(loop, command.max_idle_threads);
                status = fuse_loop_mt(session, loop);
                fuse_loop_cfg_destroy(loop);
            }
            fuse_remove_signal_handlers(fuse_get_session(session));
        }
        fuse_unmount(session);
    }
    if (session)
        fuse_destroy(session);
    std::free(command.mountpoint);
    return status == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    fuse_args arguments = FUSE_ARGS_INIT(argc, argv);
    Options options;
    if (fuse_opt_parse(&arguments, &options, kOptions, takeBacking) != 0)
        return 2;
    if (options.help || !options.backing || options.delayMs < 0) {
        usage(argv[0]);
        return options.help ? 0 : 2;
    }
    LatencyFs fs;
    fs.root = ::open(options.backing, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fs.root < 0) {
        std::perror(options.backing);
        return 1;
    }
    fs.delay = std::chrono::nanoseconds(static_cast<long long>(options.delayMs * 1e6));
    Stall stall(text(options.stall), options.stallSeconds, text(options.stallRelease), text(options.stallStarted));
    fs.stall = &stall;
    // Sub-millisecond delays need a timer slack below the default 50 µs; the threads
    // libfuse starts inherit it.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    // Ahead of the caller's options, so that theirs win.
    fuse_opt_insert_arg(&arguments, 1, "-omax_threads=64");
    const int status = serve(arguments, fs);
    fuse_opt_free_args(&arguments);
    return status;
}
