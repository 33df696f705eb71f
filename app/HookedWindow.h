#pragma once

#include "app/Module1.h"

class QEvent;
class QWidget;
class SystemMenuHook;

/// The main window as its menu hook and MainWndProc see it: the widget the menus and
/// dialogs belong to, the chain of handlers in front of its own event handling, and
/// the commands the menu carries out on the window itself.
class HookedWindow {
public:
    virtual ~HookedWindow() = default;

    /// The window itself: the menus, shortcuts and dialogs are its children.
    virtual QWidget& widget() = 0;
    /// The menu entries and the dialogs they open.
    virtual SystemMenuHook& systemMenu() = 0;

    /// Installs the handler that sees every event first; returns the one it replaces.
    virtual Module1::WindowProcedure setWindowProcedure(Module1::WindowProcedure procedure) = 0;
    /// The window's own handling of an event, behind every installed handler; true when
    /// it handled the event.
    virtual bool ownEvent(QEvent* event) = 0;

    /// True when the last run can be undone and no run is active.
    virtual bool canUndoLastRun() = 0;
    /// Undoes the last run, as a run of its own.
    virtual void undoLastRun() = 0;
    /// Shows what a run would do, and runs it on the user's word.
    virtual void previewRun() = 0;

protected:
    HookedWindow() = default;
    HookedWindow(const HookedWindow&) = default;
    HookedWindow& operator=(const HookedWindow&) = default;
};
