#include "platform/Wildcard.h"

#include <cstddef>

namespace platform {

namespace {

// Length of the character that starts at `at`: a well-formed UTF-8 sequence counts
// as one character, any other byte as one on its own.
std::size_t characterLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (at + length > text.size())
        return 1;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

} // namespace

bool hasWildcard(std::string_view text)
{
    return text.find_first_of("*?") != std::string_view::npos;
}

namespace {

bool plainMatch(std::string_view pattern, std::string_view name)
{
    // Greedy matching with one backtrack point: linear in practice, never exponential.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += characterLength(name, n);
        } else if (p < pattern.size() && pattern[p] == name[n]) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            starName += characterLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool wildcardMatch(std::string_view pattern, std::string_view name)
{
    if (plainMatch(pattern, name))
        return true;
    // The classic extension rules: ".*" at the end also matches no extension at all
    // ("*.*" is every name, "README.*" includes "README"), and a final "." stands for
    // an empty extension ("*." is every name without a dot).
    if (pattern.ends_with(".*"))
        return plainMatch(pattern.substr(0, pattern.size() - 2), name);
    if (pattern.size() > 1 && pattern.ends_with('.') && name.find('.') == std::string_view::npos)
        return plainMatch(pattern.substr(0, pattern.size() - 1), name);
    return false;
}

} // namespace platform
