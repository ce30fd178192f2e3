#include "app/services/serial_port_watcher.h"

#include "display_protocol/wait_service.h"

namespace {

constexpr qint64 kPollIntervalMs = 1000;
// Reading the machine's port list takes some 20 ms, so however fast time
// runs it stays an occasional job on the user-interface thread.
constexpr int kShortestPollMs = 250;

QList<serial_port_record> machine_ports()
{
    QList<serial_port_record> ports;
    enumerate_serial_ports(ports);
    return ports;
}

} // namespace

serial_port_watcher::serial_port_watcher(QObject *parent)
    : QObject(parent)
    , m_source(machine_ports)
{
    qRegisterMetaType<serial_port_record>();
    m_seen = currentPorts();
    connect(&m_timer, &QTimer::timeout, this, &serial_port_watcher::poll_now);
    m_timer.start(qMax(kShortestPollMs, wait_service::timer_interval_ms(kPollIntervalMs)));
}

void serial_port_watcher::setPortSource(port_source source)
{
    m_source = std::move(source);
}

QList<serial_port_record> serial_port_watcher::ports() const
{
    return m_seen.values();
}

void serial_port_watcher::poll_now()
{
    const QMap<QString, serial_port_record> now = currentPorts();
    const QMap<QString, serial_port_record> before = m_seen;
    m_seen = now;
    for (auto port = before.cbegin(); port != before.cend(); ++port) {
        if (!now.contains(port.key()))
            emit deviceRemoved(port.value());
    }
    for (auto port = now.cbegin(); port != now.cend(); ++port) {
        if (!before.contains(port.key()))
            emit deviceDiscovered(port.value());
    }
}

QMap<QString, serial_port_record> serial_port_watcher::currentPorts() const
{
    QMap<QString, serial_port_record> ports;
    for (const serial_port_record &port : m_source())
        ports.insert(port.physName, port);
    for (const serial_port_record &device : named_serial_devices()) {
        if (!ports.contains(device.physName))
            ports.insert(device.physName, device);
    }
    return ports;
}
