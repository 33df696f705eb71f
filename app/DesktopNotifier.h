#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

/// Notifications through the desktop's notification service on a D-Bus bus
/// (org.freedesktop.Notifications). Without the bus, or without the service on it,
/// nothing is shown and nothing is said: a notification is a courtesy, not a message.
class DesktopNotifier final : public QObject {
    Q_OBJECT

public:
    /// On the session bus; setBus changes that.
    explicit DesktopNotifier(QObject* parent = nullptr);

    /// The bus to notify on; for tests, which start one of their own.
    void setBus(const QDBusConnection& bus);
    /// Shows a notification in place of the last one this notifier showed, so that the
    /// desktop holds one at most. It does not wait for the service's answer.
    void notify(const QString& summary, const QString& body, const QString& actionLabel);

signals:
    /// The user clicked the notification shown last.
    void activated();

private slots:
    void onActionInvoked(uint id, const QString& action);
    void onClosed(uint id, uint reason);

private:
    void listen();

    QDBusConnection m_bus;
    bool m_listening = false;
    uint m_shown = 0; // the service's id of the notification shown, 0 for none
};
