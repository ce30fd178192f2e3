#include "display_protocol/TLANComm.h"

#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"

#include <QNetworkProxy>

namespace {

struct socket_error_row
{
    QAbstractSocket::SocketError error;
    int status;
};

const socket_error_row kConnectErrors[] = {
    {QAbstractSocket::ConnectionRefusedError, link_status::kConnectionRefused},
    {QAbstractSocket::HostNotFoundError, link_status::kHostNotFound},
    {QAbstractSocket::SocketAccessError, link_status::kSocketAccess},
    {QAbstractSocket::SocketTimeoutError, link_status::kConnectTimeout},
    {QAbstractSocket::NetworkError, link_status::kNetworkError},
};

} // namespace

TLANComm::TLANComm() = default;

TLANComm::~TLANComm()
{
    if (m_connected && m_socket.state() == QAbstractSocket::ConnectedState)
        m_socket.close();
}

int TLANComm::open(QString host)
{
    if (m_connected)
        close();
    return connect_to_host(host);
}

bool TLANComm::is_open() const
{
    return m_connected && m_socket.state() == QAbstractSocket::ConnectedState;
}

int TLANComm::read_byte(char *byte, int timeout_ms)
{
    if (!is_open())
        return link_status::kNotOpen;
    if (m_socket.bytesAvailable() == 0 && !m_socket.waitForReadyRead(wait_service::io_timeout_ms(timeout_ms)))
        return link_status::kNoByte;
    char c = 0;
    if (!m_socket.getChar(&c))
        return link_status::kNoByte;
    *byte = c;
    return link_status::kOk;
}

int TLANComm::write(QList<char> bytes, int timeout_ms)
{
    if (bytes.isEmpty())
        return link_status::kOk;
    if (!is_open())
        return link_status::kNotOpen;
    // A late reply to an earlier request must not be taken for the answer to this one.
    m_socket.waitForReadyRead(0);
    m_socket.readAll();
    QByteArray data;
    data.reserve(bytes.size());
    for (char c : bytes)
        data.append(c);
    if (m_socket.write(data) == -1)
        return link_status::kWriteFailed;
    m_socket.waitForBytesWritten(wait_service::io_timeout_ms(timeout_ms));
    return link_status::kOk;
}

int TLANComm::close()
{
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.abort();
    m_connected = false;
    m_port_name.clear();
    return link_status::kOk;
}

int TLANComm::connect_to_host(QString host)
{
    m_port_name.clear();
    m_connected = false;
    m_socket.setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    m_socket.connectToHost(host, kPort, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
    if (!m_socket.waitForConnected(wait_service::io_timeout_ms(kConnectTimeoutMs))) {
        const int status = connect_error_status(m_socket.error());
        m_socket.abort();
        return status;
    }
    m_port_name = host;
    m_connected = true;
    return link_status::kOk;
}

int TLANComm::connect_error_status(QAbstractSocket::SocketError error)
{
    for (const socket_error_row &row : kConnectErrors) {
        if (row.error == error)
            return row.status;
    }
    return link_status::kSocketError;
}
