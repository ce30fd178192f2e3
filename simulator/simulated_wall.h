#pragma once

#include "simulator/sim_display.h"
#include "simulator/sim_endpoint.h"
#include "simulator/sim_log_entry.h"

#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <QString>

#include <memory>
#include <vector>

// A simulated video wall for tests and manual runs: endpoints (one TCP
// address per LAN display or chain, pseudo-terminals for RS-232 chains),
// each serving a daisy chain of simulated displays on its own thread. The
// destination byte of a request picks the display; '*' is answered by the
// display attached directly (the first one added to the endpoint).
// Every received frame is logged with its time.
class simulated_wall : public sim_link_handler
{
public:
    simulated_wall();
    ~simulated_wall() override;

    // Serves TCP on |address| (a loopback address), port 7142; the endpoint
    // index, or -1 when the address cannot be bound.
    int add_lan_endpoint(const QString &address);
    // Serves a new pseudo-terminal; the endpoint index, or -1.
    int add_serial_endpoint();
    // The device path of a serial endpoint ("" for others).
    QString serial_path(int endpoint) const;
    // Adds a display with |monitor_id| (ID n is the character 64 + n) to the
    // chain of |endpoint|; the display's handle, or -1 for a bad endpoint.
    int add_display(int endpoint, char monitor_id);

    int display_count() const;

    // Runs |f| on a display under the wall's lock (the endpoints' threads
    // read the same state).
    template <typename F>
    auto with_display(int handle, F &&f)
    {
        QMutexLocker lock(&m_mutex);
        return f(*m_displays.at(static_cast<std::size_t>(handle)).display);
    }
    // |kind| spoils |replies| replies (or all) after |after| sound ones.
    void set_fault(int handle, sim_fault_kind kind, int replies = sim_fault::kForever, int after = 0);
    // Real delays (not time-scaled) before a reply and before each reply byte.
    void set_delays(int handle, int reply_delay_ms, int byte_delay_ms);

    QList<sim_log_entry> log() const;
    void clear_log();
    int connection_count(int endpoint) const;
    // Stops every endpoint; also done by the destructor.
    void stop();

    sim_outgoing on_frame(int endpoint, const sim_frame &frame) override;
    bool refusing_connections(int endpoint) override;
    void on_connection(int endpoint) override;

private:
    struct placed_display
    {
        int endpoint;
        std::unique_ptr<sim_display> display;
    };
    int add_endpoint(std::unique_ptr<sim_endpoint> endpoint);
    sim_display *addressed(int endpoint, char destination);

    mutable QMutex m_mutex;
    QElapsedTimer m_clock;
    std::vector<std::unique_ptr<sim_endpoint>> m_endpoints;
    std::vector<int> m_connections;
    std::vector<placed_display> m_displays;
    QList<sim_log_entry> m_log;
};
