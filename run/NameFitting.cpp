#include "run/NameFitting.h"

#include "platform/Utf8Boundary.h"
#include "run/FileNameStem.h"

namespace run {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The fullwidth form of a character Windows names refuse, or 0 for any other.
char32_t fullwidthForm(char32_t codePoint)
{
    switch (codePoint) {
    case '\\': case ':': case '*': case '?': case '"': case '<': case '>': case '|':
        return codePoint - 0x20 + 0xFF00; // the fullwidth block mirrors ASCII
    default:
        return 0;
    }
}

void dropTrailingDotsAndSpaces(std::string& name)
{
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
}

std::size_t unitsOf(char32_t codePoint)
{
    return codePoint >= 0x10000 ? 2 : 1;
}

} // namespace

std::size_t utf16Length(std::string_view text)
{
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        char32_t codePoint = 0;
        const std::size_t length = platform::decodeUtf8(text, at, codePoint);
        units += length == 0 ? 1 : unitsOf(codePoint);
        at += length == 0 ? 1 : length;
    }
    return units;
}

std::size_t utf16BoundaryAtMost(std::string_view text, std::size_t limit)
{
    std::size_t units = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        char32_t codePoint = 0;
        const std::size_t length = platform::decodeUtf8(text, at, codePoint);
        const std::size_t width = length == 0 ? 1 : unitsOf(codePoint);
        if (units + width > limit)
            break;
        units += width;
        at += length == 0 ? 1 : length;
    }
    return at;
}

std::string fitWindowsName(std::string_view name)
{
    std::string fitted;
    fitted.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        char32_t codePoint = 0;
        const std::size_t length = platform::decodeUtf8(name, at, codePoint);
        if (length == 0) {
            platform::appendUtf8(fitted, kReplacementCharacter);
            ++at;
            continue;
        }
        if (const char32_t wide = fullwidthForm(codePoint))
            platform::appendUtf8(fitted, wide);
        else if (codePoint < 0x20)
            fitted += '_';
        else
            fitted.append(name.substr(at, length));
        at += length;
    }
    dropTrailingDotsAndSpaces(fitted);
    if (utf16Length(fitted) > kLongestWindowsName) {
        const std::size_t stemEnd = fileNameStemEnd(fitted);
        const std::string extension = fitted.substr(stemEnd);
        const std::size_t extensionUnits = utf16Length(extension);
        if (extensionUnits < kLongestWindowsName) {
            fitted.resize(utf16BoundaryAtMost(std::string_view(fitted).substr(0, stemEnd),
                                              kLongestWindowsName - extensionUnits));
            fitted += extension;
        } else {
            fitted.resize(utf16BoundaryAtMost(fitted, kLongestWindowsName));
        }
        dropTrailingDotsAndSpaces(fitted);
    }
    return fitted.empty() ? "_" : fitted;
}

} // namespace run
