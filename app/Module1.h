#pragma once

#include <string>

class HookedWindow;
class QEvent;

/// State shared by the main window, its menu handling and the settings dialog.
namespace Module1 {

/// A handler that sees every event of the main window before the window does; true
/// when it handled the event. The window's own handling is HookedWindow::ownEvent.
using WindowProcedure = bool (*)(HookedWindow& window, QEvent* event);

/// The folder for temporary files (with its trailing "/"), set once at start-up
/// before the settings are read; the destination the settings fall back to.
inline std::string TempFolderPath;

/// The handler that an installed one replaced; put back when the main window closes.
inline WindowProcedure PrevWndProc = nullptr;

} // namespace Module1
