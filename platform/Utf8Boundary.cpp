#include "platform/Utf8Boundary.h"

namespace platform {

namespace {

// Length of the well-formed UTF-8 sequence that starts at `at`, or 1 for a stray byte.
std::size_t sequenceLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1
        : (lead & 0xE0) == 0xC0             ? 2
        : (lead & 0xF0) == 0xE0             ? 3
        : (lead & 0xF8) == 0xF0             ? 4
                                            : 1;
    if (at + length > text.size())
        return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 1;
    return length;
}

} // namespace

std::size_t characterBoundaryAtMost(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t next = end + sequenceLength(text, end);
        if (next > limit)
            break;
        end = next;
    }
    return end;
}

} // namespace platform
