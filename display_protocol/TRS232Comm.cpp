#include "display_protocol/TRS232Comm.h"

#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"
#include "display_protocol/serial_port_path.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// Waits for |events| on |fd| until |deadline|; false on time-out or error.
bool wait_for(int fd, short events, const QDeadlineTimer &deadline)
{
    for (;;) {
        pollfd p {fd, events, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(qMax<qint64>(0, deadline.remainingTime())));
        if (ready > 0)
            return (p.revents & events) != 0;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

TRS232Comm::~TRS232Comm()
{
    if (m_port_open)
        close();
}

int TRS232Comm::open(QString name)
{
    return open_port(name);
}

bool TRS232Comm::is_open() const
{
    return m_port_open;
}

int TRS232Comm::open_port(QString name)
{
    if (m_port_open)
        close();
    const QString path = serial_port_path(name);
    if (path.isEmpty())
        return link_status::kSerialOpenFailed;
    m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0 || configure_port() != link_status::kOk) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
        return link_status::kSerialOpenFailed;
    }
    // Like the exclusive open of a serial port elsewhere: no second opener.
    ::ioctl(m_fd, TIOCEXCL);
    m_port_name = name;
    purge();
    m_port_open = true;
    return link_status::kOk;
}

int TRS232Comm::configure_port()
{
    if (::tcgetattr(m_fd, &m_settings) != 0)
        return link_status::kSerialOpenFailed;
    ::cfmakeraw(&m_settings);
    ::cfsetispeed(&m_settings, B9600);
    ::cfsetospeed(&m_settings, B9600);
    m_settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    m_settings.c_cflag |= CS8 | CLOCAL | CREAD;
    m_settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    m_settings.c_cc[VMIN] = 0;
    m_settings.c_cc[VTIME] = 0;
    if (::tcsetattr(m_fd, TCSANOW, &m_settings) != 0)
        return link_status::kSerialOpenFailed;
    // Adapters that power the line from DTR and RTS need both on; devices
    // without modem lines (pseudo-terminals) refuse, which is harmless.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_fd, TIOCMBIS, &lines);
    return link_status::kOk;
}

int TRS232Comm::read_byte(char *byte, int timeout_ms)
{
    if (!is_open())
        return link_status::kNotOpen;
    const QDeadlineTimer deadline(wait_service::io_timeout_ms(timeout_ms));
    for (;;) {
        if (!wait_for(m_fd, POLLIN, deadline))
            return link_status::kNoByte;
        char c = 0;
        const ssize_t n = ::read(m_fd, &c, 1);
        if (n == 1) {
            *byte = c;
            return link_status::kOk;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return link_status::kNoByte;
        if (deadline.hasExpired())
            return link_status::kNoByte;
    }
}

int TRS232Comm::write(QList<char> bytes, int)
{
    if (bytes.isEmpty())
        return link_status::kOk;
    if (!is_open())
        return link_status::kNotOpen;
    purge();
    QByteArray data;
    data.reserve(bytes.size());
    for (char c : bytes)
        data.append(c);
    if (!write_all(data)) {
        clear_error();
        return link_status::kWriteFailed;
    }
    return link_status::kOk;
}

bool TRS232Comm::write_all(const QByteArray &data)
{
    const QDeadlineTimer deadline(wait_service::io_timeout_ms(kWriteConstantMs + kWriteMsPerByte * data.size()));
    qint64 done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(m_fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        if (!wait_for(m_fd, POLLOUT, deadline))
            return false;
    }
    return true;
}

int TRS232Comm::purge()
{
    ::tcflush(m_fd, TCOFLUSH);
    ::tcflush(m_fd, TCIFLUSH);
    return link_status::kOk;
}

int TRS232Comm::clear_error()
{
    // A POSIX port keeps no sticky error state; the next read or write reports afresh.
    return link_status::kOk;
}

int TRS232Comm::close()
{
    if (m_fd >= 0) {
        purge();
        ::close(m_fd);
    }
    m_port_open = false;
    m_fd = -1;
    m_port_name.clear();
    return link_status::kOk;
}
