#pragma once

#include <cstddef>
#include <string_view>

namespace run {

/// Stem end that keeps the numbering inside the file name: the last "." of the last
/// component, unless that "." is the component's first character (".bashrc" has no
/// extension). Without such a dot the suffix goes at the very end.
inline std::size_t fileNameStemEnd(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot <= nameStart)
        return path.size();
    return dot;
}

} // namespace run
