#pragma once

#include "display_protocol/TBasicComm.h"

#include <termios.h>

// The display link over an RS-232 port: 9600 baud, 8 data bits, no parity,
// one stop bit, no flow control, on a small POSIX termios layer. Port names
// resolve to device paths as serial_port_path() describes.
class TRS232Comm : public TBasicComm
{
public:
    static constexpr int kWriteMsPerByte = 10;
    static constexpr int kWriteConstantMs = 1000;

    ~TRS232Comm() override;

    int open(QString name) override;
    bool is_open() const override;
    int read_byte(char *byte, int timeout_ms) override;
    // The time-out argument is not used: a write is bounded by
    // kWriteMsPerByte per byte plus kWriteConstantMs.
    int write(QList<char> bytes, int timeout_ms) override;

    virtual int close();
    virtual int purge();
    virtual int clear_error();
    virtual int configure_port();
    virtual int open_port(QString name);

private:
    bool write_all(const QByteArray &data);

    bool m_port_open = false;
    termios m_settings {};
    int m_fd = -1;
};
