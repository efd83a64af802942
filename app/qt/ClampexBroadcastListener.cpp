#include "app/qt/ClampexBroadcastListener.h"

#include "app/AcquisitionWatcher.h"

#include <QDBusMessage>
#include <QMetaType>
#include <QVariant>

ClampexBroadcastListener::ClampexBroadcastListener(QObject* parent,
                                                   const QDBusConnection& connection)
    : QObject(parent), m_connection(connection) {
    // Empty service, path and interface: the signal from anyone, anywhere.
    if (m_connection.isConnected())
        m_active = m_connection.connect(QString(), QString(), QString(),
                                        QString::fromLatin1(kClampexBroadcastName), this,
                                        SLOT(OnSignal(QDBusMessage)));
}

ClampexBroadcastListener::~ClampexBroadcastListener() {
    if (m_active)
        m_connection.disconnect(QString(), QString(), QString(),
                                QString::fromLatin1(kClampexBroadcastName), this,
                                SLOT(OnSignal(QDBusMessage)));
}

void ClampexBroadcastListener::OnSignal(const QDBusMessage& message) {
    if (message.type() != QDBusMessage::SignalMessage || message.signature() != QLatin1String("i"))
        return;
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 1 || arguments.front().metaType().id() != QMetaType::Int)
        return;
    emit broadcast(arguments.front().toInt());
}
