#pragma once

#include "settings/frmOption.h"

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

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

/// The main window's two extra entries, "オプション" (the settings dialog) and
/// "バージョン情報" (the about box), each after a separator. Linux desktops give a
/// program no system menu of its own, so the block is the one menu of a menu bar above
/// the window's controls, where a new user finds it, and the window's context menu.
/// Once installed, MainWndProc sees every event of the window first and opens the
/// dialog a command names; every event then goes on to the window unchanged.
class SystemMenuHook final : public QObject {
    Q_OBJECT

public:
    static constexpr int kCommandOption = 257;
    static constexpr int kCommandAbout = 258;

    /// `optionContext` gives what the settings dialog works on when it is created.
    SystemMenuHook(QWidget& window, std::function<frmOption::Context()> optionContext);
    ~SystemMenuHook() override;

    /// Adds the menu bar and the context menu and starts seeing the window's events.
    void install();
    /// Stops seeing the window's events; the menus go with the window.
    void remove();
    /// Unloads the settings dialog, which is only hidden after use.
    void unloadOption();

    /// The settings dialog while it is loaded.
    frmOption* option() const { return m_option; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void MainWndProc(QEvent* event);
    void showOption();
    void showAbout();
    void addMenuBar();
    void popUpFromKeyboard();

    QWidget& m_window;
    std::function<frmOption::Context()> m_optionContext;
    QPointer<frmOption> m_option;
    QMenu* m_menu = nullptr;
    bool m_installed = false;
};
