#pragma once

#include "display_protocol/TBasicComm.h"

#include <QTcpSocket>

// The display link over TCP port 7142. Uses the socket's blocking waits, so
// the owning thread needs no event loop.
class TLANComm : public TBasicComm
{
public:
    static constexpr quint16 kPort = 7142;
    static constexpr int kConnectTimeoutMs = 2000;

    TLANComm();
    ~TLANComm() override;

    int open(QString host) override;
    bool is_open() const override;
    int read_byte(char *byte, int timeout_ms) override;
    int write(QList<char> bytes, int timeout_ms) override;

    virtual int close();
    virtual int connect_to_host(QString host);

private:
    static int connect_error_status(QAbstractSocket::SocketError error);

    QTcpSocket m_socket;
    bool m_connected = false;
};
