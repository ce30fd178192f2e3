#include "simulator/simulated_wall.h"

namespace {

constexpr char kAnyDisplay = '*';
constexpr int kFirstMonitorIdCharacter = 64;
// Locally administered addresses, "TS" after the first byte.
constexpr quint8 kMacPrefix[] = {0x02, 0x54, 0x53};
// Broadcasts on loopback reach this address; never the wildcard address,
// whose answers would go astray.
const QByteArray kLoopbackBroadcast = "127.255.255.255";
constexpr int kNoEndpoint = -1;

bool off_network(const sim_display &display)
{
    return display.fault.kind == sim_fault_kind::refuse_connections && display.fault.active();
}

int monitor_number(char monitor_id)
{
    return static_cast<quint8>(monitor_id) - kFirstMonitorIdCharacter;
}

// Unique on the wall: the endpoint and the monitor ID.
simulated_wall::mac_address default_mac(int endpoint, char monitor_id)
{
    return {kMacPrefix[0], kMacPrefix[1], kMacPrefix[2], static_cast<quint8>(endpoint >> 8),
            static_cast<quint8>(endpoint), static_cast<quint8>(monitor_id)};
}

// As the display reads it out: twelve upper-case hexadecimal digits.
QByteArray mac_text(const simulated_wall::mac_address &mac)
{
    QByteArray text;
    for (quint8 byte : mac)
        text += QByteArray::number(byte, 16).rightJustified(2, '0').toUpper();
    return text;
}

} // namespace

simulated_wall::simulated_wall()
{
    m_clock.start();
}

simulated_wall::~simulated_wall()
{
    stop();
}

int simulated_wall::add_slot(std::unique_ptr<sim_endpoint> link, const QString &name,
                             std::unique_ptr<sim_udp_responder> responder)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    endpoint_slot slot;
    slot.link = std::move(link);
    slot.name = name;
    slot.responder = std::move(responder);
    m_endpoints.push_back(std::move(slot));
    return static_cast<int>(m_endpoints.size()) - 1;
}

int simulated_wall::add_lan_endpoint(const QString &address)
{
    const int index = static_cast<int>(m_endpoints.size());
    auto link = std::make_unique<sim_tcp_endpoint>(index, this, address.toLatin1());
    if (!link->start())
        return -1;
    return add_slot(std::move(link), address, search_responder(index, address));
}

std::unique_ptr<sim_udp_responder> simulated_wall::search_responder(int endpoint, const QString &address)
{
    auto responder = std::make_unique<sim_udp_responder>(
        endpoint, address.toLatin1(), m_search_port,
        [this, endpoint](sim_udp_responder &self, const QByteArray &request, const sockaddr_in &sender) {
            answer_search(self, endpoint, request, sender);
        });
    if (!responder->start())
        responder.reset();
    return responder;
}

int simulated_wall::add_serial_endpoint()
{
    const int index = static_cast<int>(m_endpoints.size());
    auto link = std::make_unique<sim_serial_endpoint>(index, this);
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_time_scale >= 0.0)
            link->set_time_scale(m_time_scale);
    }
    if (!link->start())
        return -1;
    const QString path = QString::fromLatin1(link->device_path());
    return add_slot(std::move(link), path, nullptr);
}

const simulated_wall::endpoint_slot *simulated_wall::slot(int endpoint) const
{
    return endpoint >= 0 && endpoint < static_cast<int>(m_endpoints.size())
               ? &m_endpoints[static_cast<std::size_t>(endpoint)]
               : nullptr;
}

QString simulated_wall::serial_path(int endpoint) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const endpoint_slot *s = slot(endpoint);
    return s && dynamic_cast<const sim_serial_endpoint *>(s->link.get()) ? s->name : QString();
}

QString simulated_wall::endpoint_name(int endpoint) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const endpoint_slot *s = slot(endpoint);
    return s ? s->name : QString();
}

sim_panel simulated_wall::panel_for(const placed_display &p) const
{
    const QString place = QStringLiteral("%1/%2").arg(p.endpoint).arg(monitor_number(p.placed_id));
    return sim_panel::with_imperfections(sim_panel::nominal(), sim_panel::display_seed(m_seed, place), m_spread);
}

int simulated_wall::add_display(int endpoint, char monitor_id)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const endpoint_slot *s = slot(endpoint);
    if (!s)
        return -1;
    const QString key = light_channel::display_key(s->name, monitor_number(monitor_id));
    placed_display p {endpoint, monitor_id, std::make_unique<sim_display>(monitor_id), nullptr,
                      default_mac(endpoint, monitor_id), nullptr, nullptr};
    p.light = std::make_unique<sim_light_model>(key, panel_for(p));
    p.display->video_observer = p.light.get();
    p.display->engine.panel = &p.light->panel();
    p.display->mac_address = mac_text(p.mac);
    if (m_time_scale >= 0.0)
        p.display->time_scale = m_time_scale;
    p.light->set_publishing(m_publishing);
    p.display->publish_video();
    m_displays.push_back(std::move(p));
    return static_cast<int>(m_displays.size()) - 1;
}

int simulated_wall::display_count() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_displays.size());
}

const simulated_wall::placed_display *simulated_wall::placed(int handle) const
{
    return handle >= 0 && handle < static_cast<int>(m_displays.size()) ? &m_displays[static_cast<std::size_t>(handle)]
                                                                       : nullptr;
}

simulated_wall::placed_display *simulated_wall::placed(int handle)
{
    return const_cast<placed_display *>(static_cast<const simulated_wall *>(this)->placed(handle));
}

void simulated_wall::set_fault(int handle, sim_fault_kind kind, int replies, int after)
{
    with_display(handle, [&](sim_display &d) { d.fault = sim_fault {kind, replies, after}; });
}

void simulated_wall::refuse_writes(int handle, quint16 code, int writes, int value)
{
    with_display(handle, [&](sim_display &d) { d.refused_writes = sim_display::write_refusal {code, value, writes}; });
}

void simulated_wall::set_time_scale(double scale)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_time_scale = scale;
    for (placed_display &p : m_displays)
        p.display->time_scale = scale;
    for (endpoint_slot &e : m_endpoints) {
        if (auto *serial = dynamic_cast<sim_serial_endpoint *>(e.link.get()))
            serial->set_time_scale(scale);
    }
}

void simulated_wall::set_delays(int handle, int reply_delay_ms, int byte_delay_ms)
{
    with_display(handle, [&](sim_display &d) {
        d.reply_delay_ms = reply_delay_ms;
        d.byte_delay_ms = byte_delay_ms;
    });
}

void simulated_wall::hold_reply(int handle, const std::function<bool(const sim_display &)> &when)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (placed_display *p = placed(handle)) {
        p->hold_when = when;
        p->held.reset();
    }
}

bool simulated_wall::reply_held(int handle) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const placed_display *p = placed(handle);
    return p && p->held;
}

void simulated_wall::release_reply(int handle)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (placed_display *p = placed(handle)) {
        p->hold_when = nullptr;
        if (p->held)
            p->held->open();
        p->held.reset();
    }
}

void simulated_wall::hold_if_due(const sim_display *d, sim_outgoing &out)
{
    for (placed_display &p : m_displays) {
        if (p.display.get() == d && p.hold_when && p.hold_when(*d)) {
            p.hold_when = nullptr;
            p.held = std::make_shared<sim_reply_gate>();
            out.gate = p.held;
        }
    }
}

QList<sim_log_entry> simulated_wall::log() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return QList<sim_log_entry>(m_log.begin(), m_log.end());
}

void simulated_wall::clear_log()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_log.clear();
    for (endpoint_slot &s : m_endpoints)
        s.connections = 0;
}

int simulated_wall::connection_count(int endpoint) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const endpoint_slot *s = slot(endpoint);
    return s ? s->connections : 0;
}

qint64 simulated_wall::bytes_sent(int endpoint) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const endpoint_slot *s = slot(endpoint);
    return s ? s->link->bytes_sent() : -1;
}

void simulated_wall::stop()
{
    // Endpoints are stopped without the lock: their threads may be waiting
    // for it. The broadcast answers go out through the endpoints' own
    // sockets, so they stop first.
    if (m_broadcast)
        m_broadcast->stop();
    {
        // A held reply would keep its endpoint's thread from ending.
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (placed_display &p : m_displays) {
            if (p.held)
                p.held->open();
        }
    }
    for (endpoint_slot &s : m_endpoints) {
        s.link->stop();
        if (s.responder)
            s.responder->stop();
    }
}

// --- light ------------------------------------------------------------------

void simulated_wall::set_imperfections(quint64 seed, double spread)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_seed = seed;
    m_spread = spread;
    for (placed_display &p : m_displays)
        p.light->set_panel(panel_for(p));
}

void simulated_wall::set_panel(int handle, const sim_panel &panel)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (placed_display *p = placed(handle))
        p->light->set_panel(panel);
}

sim_panel simulated_wall::panel(int handle) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const placed_display *p = placed(handle);
    return p ? p->light->panel() : sim_panel();
}

light_channel::light_reading simulated_wall::light(int handle) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const placed_display *p = placed(handle);
    return p ? p->light->current_light() : light_channel::light_reading();
}

QString simulated_wall::light_key(int handle) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const placed_display *p = placed(handle);
    return p ? p->light->display_key() : QString();
}

void simulated_wall::set_light_publishing(bool on)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_publishing = on;
    for (placed_display &p : m_displays)
        p.light->set_publishing(on);
}

void simulated_wall::set_input_level(int handle, const std::array<double, 3> &level)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (placed_display *p = placed(handle)) {
        p->display->video.input_level = level;
        p->display->publish_video();
    }
}

// --- network search ---------------------------------------------------------

simulated_wall::mac_address simulated_wall::mac(int handle) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const placed_display *p = placed(handle);
    return p ? p->mac : mac_address {};
}

void simulated_wall::set_mac(int handle, const mac_address &mac)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (placed_display *p = placed(handle)) {
        p->mac = mac;
        p->display->mac_address = mac_text(mac);
    }
}

void simulated_wall::set_search_port(quint16 port)
{
    // The broadcast answers go out through the endpoints' sockets: they stop
    // first. Sockets are stopped without the lock, which their threads take.
    const bool broadcast = m_broadcast != nullptr;
    set_broadcast_search(false);
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_search_port = port;
    }
    for (std::size_t e = 0; e < m_endpoints.size(); ++e) {
        std::unique_ptr<sim_udp_responder> old;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            old = std::move(m_endpoints[e].responder);
        }
        if (!old)
            continue;
        old->stop();
        old.reset();
        auto fresh = search_responder(static_cast<int>(e), m_endpoints[e].name);
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_endpoints[e].responder = std::move(fresh);
    }
    if (broadcast)
        set_broadcast_search(true);
}

bool simulated_wall::set_broadcast_search(bool on)
{
    if (m_broadcast) {
        m_broadcast->stop();
        m_broadcast.reset();
    }
    if (!on)
        return true;
    auto responder = std::make_unique<sim_udp_responder>(
        kNoEndpoint, kLoopbackBroadcast, m_search_port,
        [this](sim_udp_responder &, const QByteArray &request, const sockaddr_in &sender) {
            answer_broadcast(request, sender);
        });
    if (!responder->start())
        return false;
    m_broadcast = std::move(responder);
    return true;
}

int simulated_wall::broadcast_search_requests() const
{
    return m_broadcast ? m_broadcast->requests() : 0;
}

bool simulated_wall::answers_search(int endpoint) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const endpoint_slot *s = slot(endpoint);
    return s && s->responder;
}

void simulated_wall::set_search_behaviour(int endpoint, const sim_search_behaviour &behaviour)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (slot(endpoint))
        m_endpoints[static_cast<std::size_t>(endpoint)].search = behaviour;
}

int simulated_wall::search_requests(int endpoint) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const endpoint_slot *s = slot(endpoint);
    return s && s->responder ? s->responder->requests() : 0;
}

QByteArray simulated_wall::last_search_request(int endpoint) const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const endpoint_slot *s = slot(endpoint);
    return s && s->responder ? s->responder->last_request() : QByteArray();
}

void simulated_wall::answer_search(sim_udp_responder &self, int endpoint, const QByteArray &request,
                                   const sockaddr_in &sender)
{
    QByteArray answer;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        answer = search_answer(endpoint, request);
    }
    self.send_to(sender, answer);
}

// Each endpoint answers a broadcast from its own address, as the displays of
// a real network do.
void simulated_wall::answer_broadcast(const QByteArray &request, const sockaddr_in &sender)
{
    std::vector<std::pair<sim_udp_responder *, QByteArray>> answers;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (std::size_t e = 0; e < m_endpoints.size(); ++e) {
            if (m_endpoints[e].responder)
                answers.emplace_back(m_endpoints[e].responder.get(), search_answer(static_cast<int>(e), request));
        }
    }
    for (const auto &a : answers)
        a.first->send_to(sender, a.second);
}

QByteArray simulated_wall::search_answer(int endpoint, const QByteArray &request)
{
    const endpoint_slot *s = slot(endpoint);
    const placed_display *attached = nullptr;
    for (const placed_display &p : m_displays) {
        if (!attached && p.endpoint == endpoint)
            attached = &p;
    }
    if (!s || !attached || off_network(*attached->display))
        return QByteArray();
    const sim_search_identity identity {attached->display->model_name, attached->mac, s->name.toLatin1()};
    return sim_search_answer(request, identity, s->search);
}

// --- display control protocol -------------------------------------------------

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
    const std::lock_guard<std::mutex> lock(m_mutex);
    sim_log_entry entry {m_clock.elapsed(), endpoint, frame.raw, frame.valid, frame.destination, frame.type,
                         frame.body, 0};
    sim_display *display = frame.valid ? addressed(endpoint, frame.destination) : nullptr;
    sim_outgoing out;
    if (display) {
        const bool silent = off_network(*display) || (display->fault.kind == sim_fault_kind::silent && display->fault.consume());
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
            out.reply_delay_ms = display->reply_delay_ms + reply.delay_ms();
            out.byte_delay_ms = display->byte_delay_ms;
            entry.answered_by = display->monitor_id;
            hold_if_due(display, out);
        }
    }
    m_log.push_back(entry);
    return out;
}

bool simulated_wall::refusing_connections(int endpoint)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    const sim_display *attached = addressed(endpoint, kAnyDisplay);
    return attached && off_network(*attached);
}

void simulated_wall::on_connection(int endpoint)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (endpoint >= 0 && endpoint < static_cast<int>(m_endpoints.size()))
        m_endpoints[static_cast<std::size_t>(endpoint)].connections++;
}
