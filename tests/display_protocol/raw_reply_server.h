#pragma once

#include <QByteArray>
#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// What a raw display sends for one request.
struct raw_reply
{
    QByteArray bytes;
    // Close the connection's sending side after the bytes, so that a reader
    // waiting for the rest of a cut frame ends at once instead of timing out.
    bool close = true;
};

// A bare display on |address| (of the process's loopback block), port 7142, for tests that feed the protocol
// reader damaged replies: it reads each request frame, hands the request
// body to the responder and writes back exactly the bytes it returns, sound
// or not; a new connection replaces the one served. With |unsolicited| set it also sends the responder's bytes for an
// empty body as soon as a connection is accepted (displays that report
// without a request). One connection at a time, in a thread of its own.
class raw_reply_server
{
public:
    using responder = std::function<raw_reply(const QByteArray &body)>;

    explicit raw_reply_server(const QString &address)
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        const int on = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in at {};
        at.sin_family = AF_INET;
        at.sin_port = htons(kPort);
        m_listening = m_listener >= 0 && ::inet_pton(AF_INET, address.toLatin1().constData(), &at.sin_addr) == 1
                      && ::bind(m_listener, reinterpret_cast<sockaddr *>(&at), sizeof at) == 0
                      && ::listen(m_listener, 8) == 0;
        if (m_listening)
            m_thread = std::thread([this] { run(); });
    }

    ~raw_reply_server()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        if (m_listener >= 0)
            ::close(m_listener);
    }

    raw_reply_server(const raw_reply_server &) = delete;
    raw_reply_server &operator=(const raw_reply_server &) = delete;

    bool listening() const { return m_listening; }

    void set_responder(responder r, bool unsolicited = false)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_responder = std::move(r);
        m_unsolicited = unsolicited;
    }

    int requests() const { return m_requests.load(); }

private:
    static constexpr quint16 kPort = 7142;
    static constexpr int kPollMs = 20;
    // A client that stays silent this long mid-frame is given up.
    static constexpr int kFrameByteWaitMs = 2000;

    // False on silence, and for a client connection as soon as another
    // client knocks: the newest connection is the one served.
    bool wait_readable(int fd, int timeout_ms) const
    {
        pollfd p[2] = {{fd, POLLIN, 0}, {m_listener, POLLIN, 0}};
        const nfds_t count = fd == m_listener ? 1 : 2;
        for (int waited = 0; waited < timeout_ms && !m_stop; waited += kPollMs) {
            if (::poll(p, count, kPollMs) > 0)
                return count == 1 || (p[1].revents & POLLIN) == 0;
        }
        return false;
    }

    // Reads |n| bytes; false on end of stream, error or silence.
    bool read_exactly(int fd, int n, QByteArray *out, int first_wait_ms) const
    {
        int wait = first_wait_ms;
        while (out->size() < n) {
            if (!wait_readable(fd, wait))
                return false;
            char buffer[512];
            const ssize_t got = ::recv(fd, buffer, static_cast<size_t>(qMin<int>(n - out->size(), sizeof buffer)), 0);
            if (got <= 0)
                return false;
            out->append(buffer, static_cast<int>(got));
            wait = kFrameByteWaitMs;
        }
        return true;
    }

    // One request frame: SOH and six header bytes, then the length field's
    // count of bytes (STX through ETX), the check byte and CR.
    bool read_request(int fd, QByteArray *body) const
    {
        QByteArray frame;
        if (!read_exactly(fd, 7, &frame, 60000))
            return false;
        const int length = frame.mid(5, 2).toInt(nullptr, 16);
        if (!read_exactly(fd, 7 + length + 2, &frame, kFrameByteWaitMs))
            return false;
        *body = frame.mid(8, qMax(0, length - 2));
        return true;
    }

    raw_reply respond(const QByteArray &body)
    {
        responder r;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            r = m_responder;
        }
        return r ? r(body) : raw_reply();
    }

    void send_all(int fd, const QByteArray &bytes) const
    {
        for (int sent = 0; sent < bytes.size();) {
            const ssize_t n = ::send(fd, bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent), MSG_NOSIGNAL);
            if (n <= 0)
                return;
            sent += static_cast<int>(n);
        }
    }

    void serve(int fd)
    {
        bool unsolicited = false;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            unsolicited = m_unsolicited;
        }
        bool closed = false;
        if (unsolicited) {
            const raw_reply reply = respond(QByteArray());
            send_all(fd, reply.bytes);
            if (reply.close) {
                ::shutdown(fd, SHUT_WR);
                closed = true;
            }
        }
        // After a close the client's further requests are read and dropped
        // until it goes away, so that none of them resets the connection.
        QByteArray body;
        while (!m_stop && read_request(fd, &body)) {
            ++m_requests;
            if (closed)
                continue;
            const raw_reply reply = respond(body);
            send_all(fd, reply.bytes);
            if (reply.close) {
                ::shutdown(fd, SHUT_WR);
                closed = true;
            }
        }
        // The client has gone: a reset instead of a wait in TIME_WAIT keeps
        // thousands of short connections from running out of port pairs.
        const linger abort_on_close {1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abort_on_close, sizeof abort_on_close);
        ::close(fd);
    }

    void run()
    {
        while (!m_stop) {
            if (!wait_readable(m_listener, kPollMs))
                continue;
            const int fd = ::accept(m_listener, nullptr, nullptr);
            if (fd >= 0)
                serve(fd);
        }
    }

    int m_listener = -1;
    bool m_listening = false;
    std::atomic<bool> m_stop {false};
    std::atomic<int> m_requests {0};
    std::mutex m_mutex;
    responder m_responder;
    bool m_unsolicited = false;
    std::thread m_thread;
};
