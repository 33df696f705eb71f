#include "platform/Utf8Boundary.h"

namespace platform {

namespace {

bool isContinuation(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The length a sequence starting with `lead` announces; 0 for a byte that starts none.
std::size_t announcedLength(char lead)
{
    const auto byte = static_cast<unsigned char>(lead);
    return byte < 0x80 ? 1
        : (byte & 0xE0) == 0xC0 ? 2
        : (byte & 0xF0) == 0xE0 ? 3
        : (byte & 0xF8) == 0xF0 ? 4
                                : 0;
}

// Length of the character that starts at `at`.
std::size_t characterAt(std::string_view text, std::size_t at)
{
    const std::size_t length = announcedLength(text[at]);
    if (length < 2 || at + length > text.size())
        return 1;
    for (std::size_t i = 1; i < length; ++i)
        if (!isContinuation(text[at + i]))
            return 1;
    return length;
}

} // namespace

std::size_t characterBoundaryAtMost(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    std::size_t end = 0;
    for (std::size_t next; end < text.size() && (next = end + characterAt(text, end)) <= limit;)
        end = next;
    return end;
}

std::size_t startOfLastCharacters(std::string_view text, std::size_t count)
{
    std::size_t start = text.size();
    for (; count > 0 && start > 0; --count) {
        // Step back over at most three continuation bytes to a lead byte whose sequence
        // ends exactly here; else the last byte stands alone.
        std::size_t lead = start - 1;
        while (lead > 0 && start - lead < 4 && isContinuation(text[lead]))
            --lead;
        start = characterAt(text, lead) == start - lead ? lead : start - 1;
    }
    return start;
}

std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); ++count)
        at += characterAt(text, at);
    return count;
}

std::size_t decodeUtf8(std::string_view text, std::size_t at, char32_t& codePoint)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte(at + i) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF
        || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

void appendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

} // namespace platform
