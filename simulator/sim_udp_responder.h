#pragma once

#include "simulator/sim_endpoint.h"

#include <QByteArray>
#include <QMutex>

#include <atomic>
#include <functional>

// A LAN display's answer to the network search: a UDP socket on its own
// address, port 5320, that answers each request from that address with a
// plain datagram to the sender. Served on its own thread until stop().
class sim_udp_responder : public sim_endpoint
{
public:
    static constexpr quint16 kPort = 5320;

    // The answer to a request; empty for none.
    using answer_source = std::function<QByteArray(const QByteArray &request)>;

    sim_udp_responder(int index, const QByteArray &address, answer_source source);
    ~sim_udp_responder() override;

    // Requests received so far, and the last one, for tests.
    int requests() const { return m_requests.load(); }
    QByteArray last_request() const;

protected:
    bool open_link() override;
    void close_link() override;
    void serve_once() override;

private:
    QByteArray m_address;
    answer_source m_source;
    int m_fd = -1;
    std::atomic<int> m_requests {0};
    mutable QMutex m_mutex;
    QByteArray m_last_request;
};
