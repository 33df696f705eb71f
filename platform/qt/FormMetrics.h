#pragma once

#include <QRect>

namespace platform {

/// Pixels for a length in twips, the unit the forms are laid out in: 15 twips to a
/// pixel at the usual 96 dots per inch.
constexpr int fromTwips(int twips)
{
    return (twips + 7) / 15;
}

/// A control's place from its left, top, width and height in twips.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(fromTwips(left), fromTwips(top), fromTwips(width), fromTwips(height));
}

} // namespace platform
