#pragma once

#include "display_protocol/TBasicComm.h"

// The null link that stands in while no display is chosen: always open,
// swallows every write, never has a byte to read.
class TDummyComm : public TBasicComm
{
public:
    int open(QString name) override;
    bool is_open() const override;
    int read_byte(char *byte, int timeout_ms) override;
    int write(QList<char> bytes, int timeout_ms) override;

    virtual int close();
    virtual int open_port(QString name);
};
