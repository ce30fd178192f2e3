#pragma once

#include <QList>
#include <QString>

// A byte link to one display. Used by one thread at a time (the one that
// created it), never moved across threads; no locks.
class TBasicComm
{
public:
    virtual ~TBasicComm();

    // Opens the named link: a serial port name such as "COM3" or a device
    // path, or a host address.
    virtual int open(QString name);
    virtual QString port_name() const;
    virtual bool is_open() const;
    // Waits up to |timeout_ms| for one byte.
    virtual int read_byte(char *byte, int timeout_ms);
    virtual int write(QList<char> bytes, int timeout_ms);

protected:
    QString m_port_name;
};
