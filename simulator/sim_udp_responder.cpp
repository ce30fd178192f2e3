#include "simulator/sim_udp_responder.h"

#include <QMutexLocker>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int kPollMs = 5;
// Larger than any request, so that an oversized one shows as such.
constexpr int kReceiveBuffer = 2048;
}

sim_udp_responder::sim_udp_responder(int index, const QByteArray &address, quint16 port, request_handler handler)
    : sim_endpoint(index, nullptr), m_address(address), m_port(port), m_handler(std::move(handler))
{
}

sim_udp_responder::~sim_udp_responder()
{
    stop();
}

QByteArray sim_udp_responder::last_request() const
{
    QMutexLocker lock(&m_mutex);
    return m_last_request;
}

void sim_udp_responder::send_to(const sockaddr_in &to, const QByteArray &datagram)
{
    const int fd = m_fd.load();
    if (fd >= 0 && !datagram.isEmpty())
        ::sendto(fd, datagram.constData(), static_cast<size_t>(datagram.size()), 0,
                 reinterpret_cast<const sockaddr *>(&to), sizeof to);
}

bool sim_udp_responder::open_link()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // The searching side listens on the same port on every address.
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(m_port);
    if (::inet_pton(AF_INET, m_address.constData(), &addr.sin_addr) != 1
        || ::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void sim_udp_responder::close_link()
{
    const int fd = m_fd.exchange(-1);
    if (fd >= 0)
        ::close(fd);
}

void sim_udp_responder::serve_once()
{
    pollfd p {m_fd.load(), POLLIN, 0};
    if (::poll(&p, 1, kPollMs) <= 0 || !(p.revents & POLLIN))
        return;
    char buffer[kReceiveBuffer];
    sockaddr_in sender {};
    socklen_t sender_size = sizeof sender;
    const ssize_t n = ::recvfrom(p.fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr *>(&sender), &sender_size);
    if (n < 0)
        return;
    const QByteArray request(buffer, static_cast<int>(n));
    {
        QMutexLocker lock(&m_mutex);
        m_last_request = request;
    }
    m_requests++;
    m_handler(*this, request, sender);
}
