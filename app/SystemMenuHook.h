#pragma once

#include "settings/WindowInputs.h"
#include "settings/frmOption.h"

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <string>

class QAction;
class QMenu;
class HookedWindow;
class QWidget;

namespace platform {
class MessageBox;
}

/// A command chosen from the program's own entries of the main window's menu,
/// delivered to the window like any other event.
class SystemCommandEvent final : public QEvent {
public:
    explicit SystemCommandEvent(int command) : QEvent(eventType()), m_command(command) {}

    static QEvent::Type eventType();
    int command() const { return m_command; }

private:
    int m_command;
};

/// The main window's extra entries, "オプション" (the settings dialog), "バージョン情報"
/// (the about box), then "プレビュー" (the plan of a run) and "元に戻す" (undo of the last
/// run) together, each group after a separator. Linux desktops give a
/// program no system menu of its own, so the block is the one menu of a menu bar above
/// the window's controls, where a new user finds it, and the window's context menu.
/// A chosen entry reaches the window as a SystemCommandEvent, which MainWndProc turns
/// into the dialog. The settings dialog is made on first use and only hidden after it.
class SystemMenuHook final : public QObject {
    Q_OBJECT

public:
    static constexpr int kCommandOption = 257;
    static constexpr int kCommandAbout = 258;
    static constexpr int kCommandUndo = 259;
    static constexpr int kCommandPreview = 260;

    /// `settingsPath` is the file the settings dialog writes; `messages` reports a
    /// failed save.
    SystemMenuHook(HookedWindow& window, std::string settingsPath, platform::MessageBox& messages);
    ~SystemMenuHook() override;

    /// Adds the menu bar and the context menu, and puts MainWndProc in front of the
    /// window's event handling, keeping the handling it replaces in PrevWndProc.
    void install();

    /// Shows the settings dialog modally, making it first if it is not loaded.
    void showOption();
    /// Shows a new about box modally.
    void showAbout();
    /// Unloads the settings dialog.
    void unloadOption();
    /// The settings dialog while it is loaded.
    frmOption* option() const { return m_option; }
    /// Enables "元に戻す" when the last run can be undone and no run is active.
    void refreshUndo();
    QAction* undoEntry() const { return m_undo; }
    QAction* previewEntry() const { return m_preview; }

private:
    void addMenuBar();
    void popUpFromKeyboard();

    HookedWindow& m_hooked;
    QWidget& m_window;
    WindowInputs m_inputs;
    std::string m_settingsPath;
    platform::MessageBox& m_messages;
    QPointer<frmOption> m_option;
    QMenu* m_menu = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_preview = nullptr;
};

namespace Module1 {

/// Sees every event of the main window first: the two menu commands open their dialog
/// (and return once it has closed); every event, these included, then goes on to the
/// handling it replaced.
bool MainWndProc(HookedWindow& window, QEvent* event);

} // namespace Module1
