#include "simulator/simulated_wall.h"

namespace {
constexpr char kAnyDisplay = '*';
}

simulated_wall::simulated_wall()
{
    m_clock.start();
}

simulated_wall::~simulated_wall()
{
    stop();
}

int simulated_wall::add_endpoint(std::unique_ptr<sim_endpoint> endpoint)
{
    if (!endpoint->start())
        return -1;
    QMutexLocker lock(&m_mutex);
    m_endpoints.push_back(std::move(endpoint));
    m_connections.push_back(0);
    return static_cast<int>(m_endpoints.size()) - 1;
}

int simulated_wall::add_lan_endpoint(const QString &address)
{
    const int index = static_cast<int>(m_endpoints.size());
    return add_endpoint(std::make_unique<sim_tcp_endpoint>(index, this, address.toLatin1()));
}

int simulated_wall::add_serial_endpoint()
{
    const int index = static_cast<int>(m_endpoints.size());
    return add_endpoint(std::make_unique<sim_serial_endpoint>(index, this));
}

QString simulated_wall::serial_path(int endpoint) const
{
    QMutexLocker lock(&m_mutex);
    if (endpoint < 0 || endpoint >= static_cast<int>(m_endpoints.size()))
        return QString();
    const auto *serial = dynamic_cast<const sim_serial_endpoint *>(m_endpoints[static_cast<std::size_t>(endpoint)].get());
    return serial ? QString::fromLatin1(serial->device_path()) : QString();
}

int simulated_wall::add_display(int endpoint, char monitor_id)
{
    QMutexLocker lock(&m_mutex);
    if (endpoint < 0 || endpoint >= static_cast<int>(m_endpoints.size()))
        return -1;
    m_displays.push_back(placed_display {endpoint, std::make_unique<sim_display>(monitor_id)});
    return static_cast<int>(m_displays.size()) - 1;
}

int simulated_wall::display_count() const
{
    QMutexLocker lock(&m_mutex);
    return static_cast<int>(m_displays.size());
}

void simulated_wall::set_fault(int handle, sim_fault_kind kind, int replies, int after)
{
    with_display(handle, [&](sim_display &d) { d.fault = sim_fault {kind, replies, after}; });
}

void simulated_wall::set_delays(int handle, int reply_delay_ms, int byte_delay_ms)
{
    with_display(handle, [&](sim_display &d) {
        d.reply_delay_ms = reply_delay_ms;
        d.byte_delay_ms = byte_delay_ms;
    });
}

QList<sim_log_entry> simulated_wall::log() const
{
    QMutexLocker lock(&m_mutex);
    return m_log;
}

void simulated_wall::clear_log()
{
    QMutexLocker lock(&m_mutex);
    m_log.clear();
    std::fill(m_connections.begin(), m_connections.end(), 0);
}

int simulated_wall::connection_count(int endpoint) const
{
    QMutexLocker lock(&m_mutex);
    return endpoint >= 0 && endpoint < static_cast<int>(m_connections.size())
               ? m_connections[static_cast<std::size_t>(endpoint)]
               : 0;
}

void simulated_wall::stop()
{
    // Endpoints are stopped without the lock: their threads may be waiting for it.
    for (auto &endpoint : m_endpoints)
        endpoint->stop();
}

sim_display *simulated_wall::addressed(int endpoint, char destination)
{
    for (placed_display &p : m_displays) {
        if (p.endpoint == endpoint && (destination == kAnyDisplay || p.display->monitor_id == destination))
            return p.display.get();
    }
    return nullptr;
}

sim_outgoing simulated_wall::on_frame(int endpoint, const sim_frame &frame)
{
    QMutexLocker lock(&m_mutex);
    sim_log_entry entry {m_clock.elapsed(), endpoint, frame.raw, frame.valid, frame.destination, frame.type,
                         frame.body, 0};
    sim_display *display = frame.valid ? addressed(endpoint, frame.destination) : nullptr;
    sim_outgoing out;
    if (display) {
        const bool off_network = display->fault.kind == sim_fault_kind::refuse_connections && display->fault.active();
        const bool silent = off_network || (display->fault.kind == sim_fault_kind::silent && display->fault.consume());
        const sim_reply reply = silent ? sim_reply::none() : display->handle(frame.type, frame.body);
        if (!reply.silent()) {
            const sim_fault_kind kind = display->fault.kind;
            const bool applies = kind != sim_fault_kind::refuse_be && kind != sim_fault_kind::silent
                                 && kind != sim_fault_kind::refuse_connections && display->fault.consume();
            out.bytes = sim_frame_writer::write(reply, display->monitor_id, applies ? kind : sim_fault_kind::none);
            const auto report = display->scripted_reports.constFind(frame.body);
            if (report != display->scripted_reports.constEnd())
                out.bytes += sim_frame_writer::write(sim_reply('B').text(report.value()), display->monitor_id,
                                                     sim_fault_kind::none);
            if (applies && kind == sim_fault_kind::close_mid_reply)
                out.send_count = out.bytes.size() / 2;
            out.reply_delay_ms = display->reply_delay_ms;
            out.byte_delay_ms = display->byte_delay_ms;
            entry.answered_by = display->monitor_id;
        }
    }
    m_log.append(entry);
    return out;
}

bool simulated_wall::refusing_connections(int endpoint)
{
    QMutexLocker lock(&m_mutex);
    const sim_display *attached = addressed(endpoint, kAnyDisplay);
    return attached && attached->fault.kind == sim_fault_kind::refuse_connections && attached->fault.active();
}

void simulated_wall::on_connection(int endpoint)
{
    QMutexLocker lock(&m_mutex);
    if (endpoint >= 0 && endpoint < static_cast<int>(m_connections.size()))
        m_connections[static_cast<std::size_t>(endpoint)]++;
}
