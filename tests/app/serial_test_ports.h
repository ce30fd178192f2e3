#pragma once

#include "app/services/serial_ports.h"

#include <QFileInfo>
#include <QString>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

// Serial ports for tests that need ports to come and go.

// A pseudo-terminal that exists while the object lives: a serial device that
// the machine's port list never shows. Its path is empty when none could be
// opened.
class pseudo_terminal
{
public:
    pseudo_terminal()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_path = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~pseudo_terminal() { close(); }
    pseudo_terminal(const pseudo_terminal &) = delete;
    pseudo_terminal &operator=(const pseudo_terminal &) = delete;

    QString path() const { return m_path; }

    // Closing the master side removes the terminal's device.
    void close()
    {
        if (m_master >= 0)
            ::close(m_master);
        m_master = -1;
    }

private:
    int m_master = -1;
    QString m_path;
};

// A port record as the machine's port list would give it for |path|.
inline serial_port_record serial_port_at(const QString &path, const QString &description = QString())
{
    serial_port_record record;
    record.portName = QFileInfo(path).fileName();
    record.physName = path;
    record.friendName = description;
    return record;
}

// Points no port name anywhere through the environment.
inline void clear_serial_port_overrides()
{
    for (int n = 1; n <= 16; ++n)
        qunsetenv(QStringLiteral("TESSALINE_SERIAL_PORT_COM%1").arg(n).toLatin1().constData());
}
