#include "platform/ContentCompare.h"

#include <xxhash.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

constexpr std::size_t kBlock = 256 * 1024;

class OpenFile {
public:
    explicit OpenFile(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC))
    {
        struct stat status {};
        if (m_fd >= 0 && (::fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode))) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~OpenFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    /// Fills `block` as far as the file goes: its size, 0 at the end, -1 on an error.
    ssize_t read(std::vector<char>& block)
    {
        std::size_t filled = 0;
        while (filled < block.size()) {
            const ssize_t got = ::read(m_fd, block.data() + filled, block.size() - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return -1;
            if (got == 0)
                break;
            filled += static_cast<std::size_t>(got);
        }
        return static_cast<ssize_t>(filled);
    }

private:
    int m_fd;
};

} // namespace

std::optional<std::uint64_t> contentHash(const std::string& path)
{
    OpenFile file(path);
    if (!file.isOpen())
        return std::nullopt;
    thread_local std::vector<char> block(kBlock);
    // Most files fit one block: hashed in one go, with no state to set up.
    const ssize_t first = file.read(block);
    if (first < 0)
        return std::nullopt;
    if (static_cast<std::size_t>(first) < block.size())
        return XXH3_64bits(block.data(), static_cast<std::size_t>(first));
    const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(), &XXH3_freeState);
    if (!state || XXH3_64bits_reset(state.get()) != XXH_OK)
        return std::nullopt;
    XXH3_64bits_update(state.get(), block.data(), block.size());
    for (;;) {
        const ssize_t got = file.read(block);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        XXH3_64bits_update(state.get(), block.data(), static_cast<std::size_t>(got));
    }
    return XXH3_64bits_digest(state.get());
}

bool sameContent(const std::string& first, const std::string& second)
{
    OpenFile one(first);
    OpenFile other(second);
    if (!one.isOpen() || !other.isOpen())
        return false;
    thread_local std::vector<char> left(kBlock), right(kBlock);
    for (;;) {
        const ssize_t got = one.read(left);
        if (got < 0 || other.read(right) != got)
            return false;
        if (got == 0)
            return true;
        if (!std::equal(left.begin(), left.begin() + got, right.begin()))
            return false;
    }
}

} // namespace platform
