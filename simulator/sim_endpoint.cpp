#include "simulator/sim_endpoint.h"

#include <QThread>

#include <algorithm>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr int kPollMs = 5;
constexpr quint16 kDisplayPort = 7142;

bool write_fully(int fd, const char *data, int size)
{
    int done = 0;
    while (done < size) {
        const ssize_t n = ::send(fd, data + done, static_cast<size_t>(size - done), MSG_NOSIGNAL);
        if (n < 0 && errno == ENOTSOCK) {
            const ssize_t w = ::write(fd, data + done, static_cast<size_t>(size - done));
            if (w < 0 && errno != EINTR && errno != EAGAIN)
                return false;
            done += w > 0 ? static_cast<int>(w) : 0;
            continue;
        }
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        done += n > 0 ? static_cast<int>(n) : 0;
    }
    return true;
}

bool readable(int fd)
{
    pollfd p {fd, POLLIN, 0};
    return ::poll(&p, 1, kPollMs) > 0 && (p.revents & POLLIN);
}

} // namespace

sim_endpoint::sim_endpoint(int index, sim_link_handler *handler) : m_index(index), m_handler(handler) {}

sim_endpoint::~sim_endpoint()
{
    stop();
}

bool sim_endpoint::start()
{
    if (!open_link())
        return false;
    m_thread = std::thread([this] {
        while (!m_stopping.load())
            serve_once();
    });
    return true;
}

void sim_endpoint::stop()
{
    m_stopping.store(true);
    if (m_thread.joinable()) {
        m_thread.join();
        close_link();
    }
}

bool sim_endpoint::send(int fd, const sim_outgoing &out, int pace_us)
{
    const int count = out.send_count < 0 ? out.bytes.size() : qMin(out.send_count, out.bytes.size());
    const long gap_us = pace_us + 1000L * out.byte_delay_ms;
    if (out.gate)
        out.gate->wait();
    if (out.reply_delay_ms > 0)
        QThread::msleep(static_cast<unsigned long>(out.reply_delay_ms));
    if (gap_us <= 0) {
        if (!write_fully(fd, out.bytes.constData(), count))
            return false;
        m_bytes_sent += count;
    } else {
        auto due = std::chrono::steady_clock::now();
        for (int i = 0; i < count && !stopping(); ++i) {
            due += std::chrono::microseconds(gap_us);
            std::this_thread::sleep_until(due);
            if (!write_fully(fd, out.bytes.constData() + i, 1))
                return false;
            ++m_bytes_sent;
        }
    }
    return out.send_count < 0;
}

// --- TCP ----------------------------------------------------------------

sim_tcp_endpoint::sim_tcp_endpoint(int index, sim_link_handler *handler, const QByteArray &address)
    : sim_endpoint(index, handler), m_address(address)
{
}

sim_tcp_endpoint::~sim_tcp_endpoint()
{
    stop();
}

bool sim_tcp_endpoint::listen_now()
{
    m_listen_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listen_fd < 0)
        return false;
    const int yes = 1;
    ::setsockopt(m_listen_fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(kDisplayPort);
    if (::inet_pton(AF_INET, m_address.constData(), &addr.sin_addr) != 1
        || ::bind(m_listen_fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0
        || ::listen(m_listen_fd, 8) != 0) {
        ::close(m_listen_fd);
        m_listen_fd = -1;
        return false;
    }
    return true;
}

bool sim_tcp_endpoint::open_link()
{
    return listen_now();
}

void sim_tcp_endpoint::close_link()
{
    for (client &c : m_clients)
        ::close(c.fd);
    m_clients.clear();
    if (m_listen_fd >= 0)
        ::close(m_listen_fd);
    m_listen_fd = -1;
}

void sim_tcp_endpoint::accept_client()
{
    const int fd = ::accept4(m_listen_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    const int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    m_clients.push_back(client {fd, sim_frame_parser()});
    m_handler->on_connection(m_index);
}

bool sim_tcp_endpoint::serve_client(client &c)
{
    char buffer[512];
    const ssize_t n = ::recv(c.fd, buffer, sizeof buffer, 0);
    if (n <= 0)
        return n < 0 && (errno == EINTR || errno == EAGAIN);
    for (ssize_t i = 0; i < n; ++i) {
        sim_frame frame;
        if (c.parser.feed(buffer[i], &frame) && !send(c.fd, m_handler->on_frame(m_index, frame), 0))
            return false;
    }
    return true;
}

void sim_tcp_endpoint::serve_once()
{
    const bool refuse = m_handler->refusing_connections(m_index);
    if (refuse && m_listen_fd >= 0) {
        ::close(m_listen_fd);
        m_listen_fd = -1;
    } else if (!refuse && m_listen_fd < 0) {
        listen_now();
    }
    std::vector<pollfd> fds;
    for (const client &c : m_clients)
        fds.push_back(pollfd {c.fd, POLLIN, 0});
    if (m_listen_fd >= 0)
        fds.push_back(pollfd {m_listen_fd, POLLIN, 0});
    if (fds.empty()) {
        QThread::msleep(kPollMs);
        return;
    }
    if (::poll(fds.data(), fds.size(), kPollMs) <= 0)
        return;
    std::vector<client> kept;
    for (std::size_t i = 0; i < m_clients.size(); ++i) {
        const bool has_input = fds[i].revents & (POLLIN | POLLHUP | POLLERR);
        if (has_input && !serve_client(m_clients[i]))
            ::close(m_clients[i].fd);
        else
            kept.push_back(std::move(m_clients[i]));
    }
    m_clients = std::move(kept);
    if (m_listen_fd >= 0 && (fds.back().revents & POLLIN))
        accept_client();
}

// --- serial ---------------------------------------------------------------

sim_serial_endpoint::sim_serial_endpoint(int index, sim_link_handler *handler) : sim_endpoint(index, handler) {}

sim_serial_endpoint::~sim_serial_endpoint()
{
    stop();
}

bool sim_serial_endpoint::open_link()
{
    m_master_fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master_fd < 0 || ::grantpt(m_master_fd) != 0 || ::unlockpt(m_master_fd) != 0) {
        close_link();
        return false;
    }
    m_path = QByteArray(::ptsname(m_master_fd));
    // Holding the terminal side open keeps the line up between the
    // application's opens (the master would otherwise see hang-ups).
    m_slave_fd = ::open(m_path.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw {};
    if (m_slave_fd < 0 || ::tcgetattr(m_slave_fd, &raw) != 0) {
        close_link();
        return false;
    }
    ::cfmakeraw(&raw);
    ::tcsetattr(m_slave_fd, TCSANOW, &raw);
    return true;
}

void sim_serial_endpoint::close_link()
{
    for (int *fd : {&m_slave_fd, &m_master_fd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

int sim_serial_endpoint::byte_time_us() const
{
    return static_cast<int>(kMicrosecondsPerByte * qMax(0.0, m_time_scale.load()) + 0.5);
}

void sim_serial_endpoint::serve_once()
{
    if (!readable(m_master_fd))
        return;
    char buffer[256];
    const ssize_t n = ::read(m_master_fd, buffer, sizeof buffer);
    const int byte_us = byte_time_us();
    // Bytes written at once come down the line one after another, from the
    // moment it was free.
    m_received = std::max(m_received, std::chrono::steady_clock::now());
    for (ssize_t i = 0; i < n; ++i) {
        m_received += std::chrono::microseconds(byte_us);
        sim_frame frame;
        if (!m_parser.feed(buffer[i], &frame))
            continue;
        std::this_thread::sleep_until(m_received);
        send(m_master_fd, m_handler->on_frame(m_index, frame), byte_us);
        m_received = std::chrono::steady_clock::now();
    }
}
