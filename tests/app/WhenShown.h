#pragma once

#include <QApplication>
#include <QPointer>
#include <functional>

/// Acts on the next window of type T once it has been shown, from inside the event
/// loop that shows it (a modal dialog's or a popup menu's exec()), so a test can look
/// at it and close it. The action must close the window, or the exec() never returns.
template <typename T> struct WhenShown final : QObject {
    std::function<void(T*)> action;
    bool seen = false;
    bool ran = false;

    explicit WhenShown(std::function<void(T*)> act)
        : action(std::move(act))
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject* object, QEvent* event) override
    {
        T* shown = qobject_cast<T*>(object);
        if (seen || event->type() != QEvent::Show || shown == nullptr || !shown->isWindow())
            return false;
        seen = true;
        QMetaObject::invokeMethod(
            this, [this, window = QPointer<T>(shown)] { ran = window && (action(window), true); },
            Qt::QueuedConnection);
        return false;
    }
};
