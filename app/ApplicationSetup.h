#pragma once

class QApplication;

/// Program-wide settings that must be in place before the first window: name and
/// version, the Japanese font family with its substitutes, and Qt's own Japanese
/// translation for standard buttons and dialogs.
void setUpApplication(QApplication& application);
