#include "support/Unprivileged.h"

#include <cstdio>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

std::optional<std::string> runUnprivileged(const std::function<std::string()>& body)
{
    constexpr uid_t kNobody = 65534;
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        ::close(channel[0]);
        if (::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        const std::string report = body();
        // _exit flushes nothing, so the report is written and closed explicitly.
        FILE* out = ::fdopen(channel[1], "w");
        const bool written = out && std::fwrite(report.data(), 1, report.size(), out) == report.size();
        ::_exit(written && std::fclose(out) == 0 ? 0 : 3);
    }
    ::close(channel[1]);
    std::string output;
    char buffer[4096];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return output;
}
