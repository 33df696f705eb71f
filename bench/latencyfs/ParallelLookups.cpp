#include "ParallelLookups.h"

#include <atomic>
#include <cstdint>
#include <linux/fuse.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

// INIT comes first and alone, before the loop starts its threads; the atomics only keep
// the later calls' reads of these honest.
std::atomic<std::uint64_t> initUnique{0};
std::atomic<bool> offered{false};

ssize_t readRequest(int fd, void* buffer, size_t length, void*)
{
    const ssize_t got = ::read(fd, buffer, length);
    if (got >= static_cast<ssize_t>(sizeof(fuse_in_header) + sizeof(fuse_init_in))) {
        const auto* header = static_cast<const fuse_in_header*>(buffer);
        if (header->opcode == FUSE_INIT) {
            const auto* init = reinterpret_cast<const fuse_init_in*>(header + 1);
            initUnique = header->unique;
            offered = (init->flags & FUSE_PARALLEL_DIROPS) != 0;
        }
    }
    return got;
}

ssize_t writeReply(int fd, iovec* parts, int count, void*)
{
    if (count >= 2 && initUnique.load() != 0 && parts[0].iov_len >= sizeof(fuse_out_header)
        && parts[1].iov_len >= offsetof(fuse_init_out, flags) + sizeof(std::uint32_t)) {
        const auto* header = static_cast<const fuse_out_header*>(parts[0].iov_base);
        if (header->unique == initUnique && header->error == 0) {
            if (offered)
                static_cast<fuse_init_out*>(parts[1].iov_base)->flags |= FUSE_PARALLEL_DIROPS;
            initUnique = 0;
        }
    }
    return ::writev(fd, parts, count);
}

} // namespace

bool allowParallelLookups(fuse_session* session)
{
    static const fuse_custom_io io{writeReply, readRequest, nullptr, nullptr};
    return fuse_session_custom_io(session, &io, fuse_session_fd(session)) == 0;
}
