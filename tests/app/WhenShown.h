#pragma once

#include <QApplication>
#include <QEvent>
#include <QPointer>

#include <functional>

/// Acts on the next window of type T once it has been shown, from inside the event
/// loop that shows it (a modal dialog's or a popup menu's exec()), so a test can look
/// at it and close it. The action must close the window, or the exec() never returns.
template <typename T>
class WhenShown final : public QObject {
public:
    explicit WhenShown(std::function<void(T*)> action) : m_action(std::move(action))
    {
        QApplication::instance()->installEventFilter(this);
    }
    ~WhenShown() override { QApplication::instance()->removeEventFilter(this); }

    /// True once the action has run.
    bool ran() const { return m_ran; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() != QEvent::Show || m_seen)
            return false;
        T* shown = qobject_cast<T*>(object);
        if (shown == nullptr || !shown->isWindow())
            return false;
        m_seen = true;
        QMetaObject::invokeMethod(
            this,
            [this, window = QPointer<T>(shown)] {
                if (window) {
                    m_action(window);
                    m_ran = true;
                }
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    std::function<void(T*)> m_action;
    bool m_seen = false;
    bool m_ran = false;
};
