#include "run/NameRules.h"

#include "platform/Utf8Boundary.h"
#include "run/NameFitting.h"

#include <cerrno>
#include <clocale>
#include <cwctype>
#include <climits>
#include <fcntl.h>
#include <algorithm>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace run {

namespace {

// The case tables of the C library's UTF-8 locale, independent of the locale the
// program happens to run under.
locale_t unicodeLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

} // namespace

std::string counterText(std::int32_t counter)
{
    std::string digits = std::to_string(counter);
    if (digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return digits;
}

std::string numberedName(std::string_view path, std::size_t keptStem, std::size_t stemEnd,
                         std::int32_t counter, NameLength length)
{
    std::string name;
    assignNumberedName(name, path, keptStem, stemEnd, counter, length);
    return name;
}

void assignNumberedName(std::string& name, std::string_view path, std::size_t keptStem,
                        std::size_t stemEnd, std::int32_t counter, NameLength length)
{
    const std::string suffix = '_' + counterText(counter);
    const std::size_t slash = path.rfind('/', keptStem == 0 ? 0 : keptStem - 1);
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t tailLength = suffix.size() + (path.size() - stemEnd);
    std::string_view stem = path.substr(nameStart, keptStem - nameStart);
    if (length == NameLength::Bytes) {
        if (stem.size() + tailLength > NAME_MAX && tailLength < NAME_MAX)
            stem = stem.substr(0, platform::characterBoundaryAtMost(stem, NAME_MAX - tailLength));
    } else {
        const std::size_t tailUnits = suffix.size() + utf16Length(path.substr(stemEnd));
        if (utf16Length(stem) + tailUnits > kLongestWindowsName && tailUnits < kLongestWindowsName)
            stem = stem.substr(0, utf16BoundaryAtMost(stem, kLongestWindowsName - tailUnits));
    }
    name.clear();
    name.reserve(nameStart + stem.size() + tailLength);
    name.append(path.substr(0, nameStart)).append(stem).append(suffix).append(path.substr(stemEnd));
}

bool namesDifferOnlyInCase(const std::vector<std::string>& names, std::int32_t lastIndex)
{
    // Hashes stand for the names, 16 bytes a name for a plan of a million. Two keys that
    // merely share a hash only make the caller ask the file system; two names of one key
    // that share a hash leave a clash for placing to find, which numbers the file then.
    std::vector<std::pair<std::uint64_t, std::uint64_t>> hashes; // of the key, of the name
    hashes.reserve(static_cast<std::size_t>(std::max(lastIndex + 1, 0)));
    const std::hash<std::string_view> hash;
    for (std::int32_t i = 0; i <= lastIndex; ++i) {
        const std::string_view path = names[static_cast<std::size_t>(i)];
        const std::string_view name = path.substr(path.rfind('/') + 1);
        hashes.emplace_back(hash(caseFoldedKey(name)), hash(name));
    }
    std::sort(hashes.begin(), hashes.end());
    const auto differs = std::adjacent_find(hashes.begin(), hashes.end(), [](const auto& a, const auto& b) {
        return a.first == b.first && a.second != b.second;
    });
    return differs != hashes.end();
}

std::string caseFoldedKey(std::string_view name)
{
    const locale_t locale = unicodeLocale();
    std::string key;
    key.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        char32_t codePoint = 0;
        const std::size_t length = platform::decodeUtf8(name, at, codePoint);
        if (length == 0) {
            key += name[at++];
            continue;
        }
        if (codePoint < 0x80) {
            key += static_cast<char>(codePoint >= 'A' && codePoint <= 'Z' ? codePoint + 32 : codePoint);
        } else if (locale != locale_t{}) {
            // Up, then down: folds title-case letters and the odd forms (final sigma,
            // long s, the Kelvin sign) onto the same key as their plain letters.
            const auto upper = towupper_l(static_cast<wint_t>(codePoint), locale);
            platform::appendUtf8(key, static_cast<char32_t>(towlower_l(upper, locale)));
        } else {
            key.append(name.substr(at, length));
        }
        at += length;
    }
    return key;
}

bool entryExists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

bool folderFoldsCase(const std::string& folder)
{
    std::string base = folder;
    if (base.empty() || base.back() != '/')
        base += '/';
    std::random_device entropy;
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string name = ".quorvane-case-probe-" + std::to_string(getpid()) + "-"
            + std::to_string(entropy() % 1000000) + "-x";
        const std::string probe = base + name;
        const int descriptor = ::open(probe.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (descriptor < 0) {
            if (errno == EEXIST)
                continue;
            return true;
        }
        ::close(descriptor);
        std::string swapped = base;
        for (char letter : name)
            swapped += static_cast<char>(letter >= 'a' && letter <= 'z' ? letter - 32 : letter);
        struct stat info {};
        const bool folds = ::lstat(swapped.c_str(), &info) == 0;
        ::unlink(probe.c_str());
        return folds;
    }
    return true;
}

} // namespace run
