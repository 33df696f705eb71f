#pragma once

class QApplication;

/// Program-wide settings that must be in place before the first window: name and
/// version, desktop file name and icon, the widget style, the Japanese font family
/// with its substitutes, and Qt's own Japanese translation for standard buttons and
/// dialogs.
void setUpApplication(QApplication& application);
