#pragma once

#include <string_view>

namespace platform {

/// The user interface's own text comparison, so that letter case is judged the way
/// the user's toolkit judges it (Unicode, not just ASCII).
class TextCompare {
public:
    virtual ~TextCompare() = default;

    /// True when the two UTF-8 texts are equal regardless of letter case.
    /// Invalid UTF-8 is decoded leniently for the comparison only.
    virtual bool equalIgnoringCase(std::string_view left, std::string_view right) = 0;
};

} // namespace platform
