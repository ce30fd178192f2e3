#pragma once

#include "simulator/sim_link_handler.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

// One link of the simulated wall, served on its own thread until stop().
class sim_endpoint
{
public:
    sim_endpoint(int index, sim_link_handler *handler);
    virtual ~sim_endpoint();

    // Starts serving; false when the link could not be set up.
    bool start();
    void stop();
    int index() const { return m_index; }
    // The reply bytes written so far.
    qint64 bytes_sent() const { return m_bytes_sent.load(); }

protected:
    virtual bool open_link() = 0;
    virtual void close_link() = 0;
    // One round of the serving loop; waits at most a few milliseconds.
    virtual void serve_once() = 0;

    // Writes |out| to |fd| as the handler asked, one byte every |pace_us| +
    // the fault's delay (kept to on average, however late a wake-up); false
    // when the link is to be dropped.
    bool send(int fd, const sim_outgoing &out, int pace_us);
    bool stopping() const { return m_stopping.load(); }

    int m_index;
    sim_link_handler *m_handler;

private:
    std::atomic<bool> m_stopping {false};
    std::atomic<qint64> m_bytes_sent {0};
    std::thread m_thread;
};

// A display's LAN endpoint: TCP on |address|, port 7142.
class sim_tcp_endpoint : public sim_endpoint
{
public:
    sim_tcp_endpoint(int index, sim_link_handler *handler, const QByteArray &address);
    ~sim_tcp_endpoint() override;

protected:
    bool open_link() override;
    void close_link() override;
    void serve_once() override;

private:
    struct client
    {
        int fd;
        sim_frame_parser parser;
    };
    bool listen_now();
    void accept_client();
    // Reads what |c| sent and answers; false when the connection is to be dropped.
    bool serve_client(client &c);

    QByteArray m_address;
    int m_listen_fd = -1;
    std::vector<client> m_clients;
};

// An RS-232 line on a pseudo-terminal at 9600 baud: a request is taken in,
// and a reply sent, byte by byte at the line's pace (a pseudo-terminal
// itself passes bytes at once).
class sim_serial_endpoint : public sim_endpoint
{
public:
    static constexpr int kMicrosecondsPerByte = 1042;   // 10 bits at 9600 baud

    sim_serial_endpoint(int index, sim_link_handler *handler);
    ~sim_serial_endpoint() override;

    // The device path the application opens (valid after start()).
    QByteArray device_path() const { return m_path; }
    // The line's byte time runs at |scale| (1: real time; 0: unpaced).
    void set_time_scale(double scale) { m_time_scale.store(scale); }

protected:
    bool open_link() override;
    void close_link() override;
    void serve_once() override;

private:
    int byte_time_us() const;

    int m_master_fd = -1;
    int m_slave_fd = -1;
    QByteArray m_path;
    sim_frame_parser m_parser;
    std::atomic<double> m_time_scale {1.0};
    // When the request bytes read so far have all come down the line.
    std::chrono::steady_clock::time_point m_received;
};
