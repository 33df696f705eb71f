#pragma once

class QApplication;

/// Program-wide settings that must be in place before the first window: name and
/// version, desktop file name and icon, the widget style, the Japanese font family
/// with its substitutes, and the texts in the locale's language chosen by
/// platform::loadTranslations, Qt's own for standard buttons and dialogs among them.
void setUpApplication(QApplication& application);
