#pragma once

#include "app/services/serial_ports.h"

#include <QMap>
#include <QObject>
#include <QTimer>

class QThread;

#include <functional>

// Tells when a serial port comes or goes. It looks at the machine's ports
// (and at the devices the environment names for COM1 to COM16) once a second
// on the wait service's time scale, but never more than four times a second,
// and compares them by device path with what it saw before. Polling needs no
// device-event service and no new dependency. Reading the machine's port list
// takes some 15 ms, so the timed polls read it on a thread of their own and
// the user-interface thread only compares.
class serial_port_watcher : public QObject
{
    Q_OBJECT

public:
    using port_source = std::function<QList<serial_port_record>()>;

    // Starts polling at once; the ports present now count as seen.
    explicit serial_port_watcher(QObject *parent = nullptr);
    ~serial_port_watcher() override;

    // Where the machine's ports are read from (enumerate_serial_ports unless
    // replaced); the next poll compares what it gives with what was seen.
    // The timed polls call it on another thread.
    void setPortSource(port_source source);

    // The ports seen at the last poll, in device path order.
    QList<serial_port_record> ports() const;

public slots:
    // Reads and compares at once, on the calling thread; a timed read still
    // under way is then discarded.
    void poll_now();

signals:
    void deviceDiscovered(const serial_port_record &info);
    void deviceRemoved(const serial_port_record &info);

private:
    void poll_in_background();
    void compare(const QMap<QString, serial_port_record> &now);

    port_source m_source;
    QMap<QString, serial_port_record> m_seen;
    QTimer m_timer;
    QThread *m_reader = nullptr;
    // Bumped whenever a read on this thread or a new source makes a timed
    // read still under way stale.
    quint64 m_generation = 0;
};
