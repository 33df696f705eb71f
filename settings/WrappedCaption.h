#pragma once

#include <QStyle>

class QStyleOptionButton;

class QAbstractButton;

/// Paints a check box or option button with its caption wrapped onto further lines
/// within its width: the style draws the mark (`control`) and the focus, the caption is
/// drawn here in the area the style gives it (`contents`).
void paintWithWrappedCaption(QAbstractButton& button, const QStyleOptionButton& styled,
                             QStyle::ControlElement control, QStyle::SubElement contents);
