#pragma once

#include "simulator/sim_endpoint.h"

#include <QByteArray>
#include <QMutex>

#include <netinet/in.h>

#include <atomic>
#include <functional>

// A UDP socket of the network search on one address (a display's own, or
// the loopback broadcast address), served on its own thread until stop():
// each request received goes to the handler, which answers through
// send_to of this or another responder.
class sim_udp_responder : public sim_endpoint
{
public:
    static constexpr quint16 kPort = 5320;

    using request_handler =
        std::function<void(sim_udp_responder &self, const QByteArray &request, const sockaddr_in &sender)>;

    sim_udp_responder(int index, const QByteArray &address, quint16 port, request_handler handler);
    ~sim_udp_responder() override;

    // Sends |datagram| from this socket's address and port to |to|.
    void send_to(const sockaddr_in &to, const QByteArray &datagram);

    // Requests received so far, and the last one, for tests.
    int requests() const { return m_requests.load(); }
    QByteArray last_request() const;

protected:
    bool open_link() override;
    void close_link() override;
    void serve_once() override;

private:
    QByteArray m_address;
    quint16 m_port;
    request_handler m_handler;
    std::atomic<int> m_fd {-1};
    std::atomic<int> m_requests {0};
    mutable QMutex m_mutex;
    QByteArray m_last_request;
};
