// Listens on a D-Bus connection (the session bus by default) for the
// acquisition program's broadcast: a signal named "ClampexBroadcastMsg" with
// one int32, from any sender, object path and interface. Each one is passed on
// as `broadcast(parameter)` on the user-interface thread. Signals of that name
// with other arguments are ignored. Without a bus the listener stays inactive
// and the program works as always.
//
// The acquisition program's part, from a shell:
//   dbus-send --session --type=signal / com.axon.Clampex.ClampexBroadcastMsg int32:20
#pragma once

#include <QDBusConnection>
#include <QObject>

class QDBusMessage;

class ClampexBroadcastListener : public QObject {
    Q_OBJECT
public:
    // Listens on `connection`; inactive when it is not connected.
    explicit ClampexBroadcastListener(QObject* parent = nullptr, const QDBusConnection& connection =
                                                                     QDBusConnection::sessionBus());
    ~ClampexBroadcastListener() override;

    // Whether the broadcast reaches this listener.
    bool IsActive() const { return m_active; }

signals:
    void broadcast(int parameter);

private slots:
    void OnSignal(const QDBusMessage& message);

private:
    QDBusConnection m_connection;
    bool m_active = false;
};
