#pragma once

#include "app/services/serial_ports.h"

#include <QMap>
#include <QObject>
#include <QTimer>

#include <functional>

// Tells when a serial port comes or goes. It looks at the machine's ports
// (and at the devices the environment names for COM1 to COM16) once a second
// on the wait service's time scale, but never more than four times a second,
// and compares them by device path with what it saw before. Polling needs no
// device-event service and no new dependency.
class serial_port_watcher : public QObject
{
    Q_OBJECT

public:
    using port_source = std::function<QList<serial_port_record>()>;

    // Starts polling at once; the ports present now count as seen.
    explicit serial_port_watcher(QObject *parent = nullptr);

    // Where the machine's ports are read from (enumerate_serial_ports unless
    // replaced); the next poll compares what it gives with what was seen.
    void setPortSource(port_source source);

    // The ports seen at the last poll, in device path order.
    QList<serial_port_record> ports() const;

public slots:
    void poll_now();

signals:
    void deviceDiscovered(const serial_port_record &info);
    void deviceRemoved(const serial_port_record &info);

private:
    QMap<QString, serial_port_record> currentPorts() const;

    port_source m_source;
    QMap<QString, serial_port_record> m_seen;
    QTimer m_timer;
};
