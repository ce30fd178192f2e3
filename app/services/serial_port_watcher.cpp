#include "app/services/serial_port_watcher.h"

#include "display_protocol/wait_service.h"

#include <QThread>

#include <memory>

namespace {

constexpr qint64 kPollIntervalMs = 1000;
// However fast time runs, reading the machine's port list stays occasional.
constexpr int kShortestPollMs = 250;

QList<serial_port_record> machine_ports()
{
    QList<serial_port_record> ports;
    enumerate_serial_ports(ports);
    return ports;
}

// The ports read, by device path, with the devices the environment names.
QMap<QString, serial_port_record> by_path(const QList<serial_port_record> &read)
{
    QMap<QString, serial_port_record> ports;
    for (const serial_port_record &port : read)
        ports.insert(port.physName, port);
    for (const serial_port_record &device : named_serial_devices()) {
        if (!ports.contains(device.physName))
            ports.insert(device.physName, device);
    }
    return ports;
}

} // namespace

serial_port_watcher::serial_port_watcher(QObject *parent)
    : QObject(parent)
    , m_source(machine_ports)
{
    qRegisterMetaType<serial_port_record>();
    m_seen = by_path(m_source());
    connect(&m_timer, &QTimer::timeout, this, &serial_port_watcher::poll_in_background);
    m_timer.start(qMax(kShortestPollMs, wait_service::timer_interval_ms(kPollIntervalMs)));
}

serial_port_watcher::~serial_port_watcher()
{
    // The read may use what the source refers to, so it ends first.
    if (m_reader) {
        m_reader->wait();
        delete m_reader;
    }
}

void serial_port_watcher::setPortSource(port_source source)
{
    m_source = std::move(source);
    ++m_generation;
}

QList<serial_port_record> serial_port_watcher::ports() const
{
    return m_seen.values();
}

void serial_port_watcher::poll_now()
{
    ++m_generation;
    compare(by_path(m_source()));
}

void serial_port_watcher::poll_in_background()
{
    if (m_reader)
        return;
    const auto read = std::make_shared<QList<serial_port_record>>();
    const port_source source = m_source;
    const quint64 generation = m_generation;
    m_reader = QThread::create([source, read] { *read = source(); });
    connect(m_reader, &QThread::finished, this, [this, read, generation] {
        m_reader->wait(); // finished comes just before the thread ends
        m_reader->deleteLater();
        m_reader = nullptr;
        if (generation == m_generation)
            compare(by_path(*read));
    });
    m_reader->start();
}

void serial_port_watcher::compare(const QMap<QString, serial_port_record> &now)
{
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
