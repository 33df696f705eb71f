#include "app/DesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
// The desktop entry's name, which is also the icon's: desktops group and badge the
// notification by it.
const QString kDesktopEntry = QStringLiteral("io.github.quorvane.Quorvane");
// The action that a click on the notification itself invokes.
const QString kDefaultAction = QStringLiteral("default");

} // namespace

DesktopNotifier::DesktopNotifier(QObject* parent) : QObject(parent), m_bus(QDBusConnection::sessionBus()) {}

void DesktopNotifier::setBus(const QDBusConnection& bus)
{
    if (m_listening) {
        m_bus.disconnect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                         SLOT(onActionInvoked(uint, QString)));
        m_bus.disconnect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                         SLOT(onClosed(uint, uint)));
        m_listening = false;
    }
    m_bus = bus;
    m_shown = 0;
}

void DesktopNotifier::listen()
{
    if (m_listening)
        return;
    m_listening = true;
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onClosed(uint, uint)));
}

void DesktopNotifier::notify(const QString& summary, const QString& body, const QString& actionLabel)
{
    if (!m_bus.isConnected())
        return;
    listen();
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry},
                            {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    call << QStringLiteral("Quorvane") << m_shown << kDesktopEntry << summary << body
         << QStringList{kDefaultAction, actionLabel} << hints << qint32(-1);
    // Asked without waiting: a service that is slow to start must not hold up the window.
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        const QDBusPendingReply<uint> reply = *finished;
        m_shown = reply.isError() ? 0 : reply.value();
        finished->deleteLater();
    });
}

void DesktopNotifier::onActionInvoked(uint id, const QString& action)
{
    if (id != 0 && id == m_shown && action == kDefaultAction)
        emit activated();
}

void DesktopNotifier::onClosed(uint id, uint)
{
    if (id == m_shown)
        m_shown = 0;
}
