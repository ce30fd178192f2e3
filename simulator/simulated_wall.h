#pragma once

#include "simulator/light/light_channel.h"
#include "simulator/sim_display.h"
#include "simulator/sim_endpoint.h"
#include "simulator/sim_light_model.h"
#include "simulator/sim_log_entry.h"
#include "simulator/sim_search_answer.h"
#include "simulator/sim_udp_responder.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <type_traits>
#include <utility>
#include <vector>

// A simulated video wall for tests and manual runs: endpoints (one TCP
// address per LAN display or chain, pseudo-terminals for RS-232 chains),
// each serving a daisy chain of simulated displays on its own thread. The
// destination byte of a request picks the display; '*' is answered by the
// display attached directly (the first one added to the endpoint).
// Every received frame is logged with its time.
//
// Each display emits light through its own panel (sim_light_model): the
// panels deviate from the design by the wall's imperfection seed and spread.
// Each LAN endpoint also answers the network search on its address, on the
// search port (5320 unless set), for the display attached directly; on
// request the wall answers searches sent to the loopback broadcast address
// as well.
class simulated_wall : public sim_link_handler
{
public:
    using mac_address = std::array<quint8, 6>;

    simulated_wall();
    ~simulated_wall() override;

    // Serves TCP on |address| (a loopback address), port 7142, and answers
    // the network search there (on the search port) when that port can be bound;
    // the endpoint index, or -1 when the TCP port cannot be bound.
    int add_lan_endpoint(const QString &address);
    // Serves a new pseudo-terminal; the endpoint index, or -1.
    int add_serial_endpoint();
    // The device path of a serial endpoint ("" for others).
    QString serial_path(int endpoint) const;
    // The address of a LAN endpoint or the device path of a serial one.
    QString endpoint_name(int endpoint) const;
    // Adds a display with |monitor_id| (ID n is the character 64 + n) to the
    // chain of |endpoint|; the display's handle, or -1 for a bad endpoint.
    int add_display(int endpoint, char monitor_id);

    int display_count() const;

    // Runs |f| on a display under the wall's lock (the endpoints' threads
    // read the same state). A bad handle (a display that could not be added)
    // runs nothing and gives |f|'s default result.
    template <typename F>
    auto with_display(int handle, F &&f)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        placed_display *p = placed(handle);
        using result = decltype(f(std::declval<sim_display &>()));
        if constexpr (std::is_void_v<result>) {
            if (p)
                f(*p->display);
        } else {
            return p ? f(*p->display) : result {};
        }
    }
    // |kind| spoils |replies| replies (or all) after |after| sound ones.
    void set_fault(int handle, sim_fault_kind kind, int replies = sim_fault::kForever, int after = 0);
    // Writes of control |code| (only those of |value| unless it is
    // kAnyValue) are answered "BE" and left undone, for |writes| writes.
    void refuse_writes(int handle, quint16 code, int writes = sim_fault::kForever,
                       int value = sim_display::write_refusal::kAnyValue);
    // The displays' own processing times (nominal milliseconds: a write of
    // 0x2DA, sim_display::write_reply_delays_ms) and the serial lines' byte
    // time run at |scale|, as the application's waits do; for displays and
    // lines present and later.
    void set_time_scale(double scale);
    // Real delays (not time-scaled) before a reply and before each reply byte.
    void set_delays(int handle, int reply_delay_ms, int byte_delay_ms);
    // The first reply of the display given while |when| holds (asked after
    // the request was handled) is held back until release_reply: the
    // controller waits for it meanwhile, a state a test can act in however
    // late it looks.
    void hold_reply(int handle, const std::function<bool(const sim_display &)> &when);
    bool reply_held(int handle) const;
    void release_reply(int handle);

    QList<sim_log_entry> log() const;
    void clear_log();
    int connection_count(int endpoint) const;
    // The reply bytes endpoint |endpoint| has written; -1 for a bad index.
    qint64 bytes_sent(int endpoint) const;
    // Stops every endpoint; also done by the destructor.
    void stop();

    // --- light ---
    // Gives every display, present and later, the design panel with its own
    // deviations picked by |seed| and scaled by |spread| (0: all ideal).
    void set_imperfections(quint64 seed, double spread);
    void set_panel(int handle, const sim_panel &panel);
    sim_panel panel(int handle) const;
    // What an instrument on the display measures now (cd/m²).
    light_channel::light_reading light(int handle) const;
    // The display's key on the light channel ("" for a bad handle).
    QString light_key(int handle) const;
    // Publishing on the light channel is off until switched on (tests that do
    // not read it leave no files behind); switching on publishes every display.
    void set_light_publishing(bool on);
    // The input signal a display shows, in [0, 1] per channel.
    void set_input_level(int handle, const std::array<double, 3> &level);

    // --- network search ---
    // The display's MAC address; also what it answers to C220 and C22A.
    mac_address mac(int handle) const;
    void set_mac(int handle, const mac_address &mac);
    // The UDP port on which every endpoint, present and later, and the
    // broadcast answers take searches: 5320 unless a test keeps apart from
    // other test runs' searches (its searching side then uses the port too).
    // An endpoint whose socket cannot be bound there stops answering.
    void set_search_port(quint16 port);
    // Also answers searches sent to 127.255.255.255 (the port shared): each
    // LAN endpoint that answers the search answers from its own address.
    // Off until switched on; false when the address cannot be bound.
    bool set_broadcast_search(bool on);
    int broadcast_search_requests() const;
    // Whether the endpoint answers the search (its UDP port could be bound).
    bool answers_search(int endpoint) const;
    void set_search_behaviour(int endpoint, const sim_search_behaviour &behaviour);
    // Search requests the endpoint received, and the last one.
    int search_requests(int endpoint) const;
    QByteArray last_search_request(int endpoint) const;

    sim_outgoing on_frame(int endpoint, const sim_frame &frame) override;
    bool refusing_connections(int endpoint) override;
    void on_connection(int endpoint) override;

private:
    struct endpoint_slot
    {
        std::unique_ptr<sim_endpoint> link;
        QString name;
        std::unique_ptr<sim_udp_responder> responder;
        sim_search_behaviour search;
        int connections = 0;
    };
    struct placed_display
    {
        int endpoint;
        // The monitor ID it was added with: with the endpoint, its place on
        // the wall, which picks its panel's deviations.
        char placed_id;
        std::unique_ptr<sim_display> display;
        std::unique_ptr<sim_light_model> light;
        mac_address mac;
        std::function<bool(const sim_display &)> hold_when;
        std::shared_ptr<sim_reply_gate> held;
    };
    int add_slot(std::unique_ptr<sim_endpoint> link, const QString &name, std::unique_ptr<sim_udp_responder> responder);
    sim_display *addressed(int endpoint, char destination);
    const placed_display *placed(int handle) const;
    placed_display *placed(int handle);
    const endpoint_slot *slot(int endpoint) const;
    sim_panel panel_for(const placed_display &p) const;
    // The endpoint's search socket on the search port, started; nullptr
    // when the port cannot be bound.
    std::unique_ptr<sim_udp_responder> search_responder(int endpoint, const QString &address);
    // The endpoint's answer to a search request, under the lock.
    QByteArray search_answer(int endpoint, const QByteArray &request);
    void answer_search(sim_udp_responder &self, int endpoint, const QByteArray &request, const sockaddr_in &sender);
    void answer_broadcast(const QByteArray &request, const sockaddr_in &sender);
    // Under the lock: gates |out| when display |d|'s hold is due.
    void hold_if_due(const sim_display *d, sim_outgoing &out);

    // Guards everything the endpoints' threads read: the endpoints, the
    // displays and the log. A standard mutex, so that a race detector sees
    // the guard (the framework's own locks are not instrumented).
    mutable std::mutex m_mutex;
    QElapsedTimer m_clock;
    std::vector<endpoint_slot> m_endpoints;
    std::vector<placed_display> m_displays;
    // Not a shared list: a copy handed out would share its array with the
    // one the endpoints append to.
    std::vector<sim_log_entry> m_log;
    quint64 m_seed = 0;
    double m_spread = 1.0;
    bool m_publishing = false;
    double m_time_scale = -1.0;   // negative: each display keeps its own
    quint16 m_search_port = sim_udp_responder::kPort;
    std::unique_ptr<sim_udp_responder> m_broadcast;
};
