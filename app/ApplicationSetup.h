#pragma once

#include <QtGlobal>

class QApplication;
class QFont;
class QIcon;

/// Program-wide settings that must be in place before the first window: name and
/// version, desktop file name and icon, the widget style, the Japanese font family
/// with its substitutes, and Qt's own Japanese translation for standard buttons and
/// dialogs.
void setUpApplication(QApplication& application);

/// The font of every control, regular weight, at `pointSize`.
QFont interfaceFont(qreal pointSize);

/// The program's icon.
QIcon applicationIcon();
