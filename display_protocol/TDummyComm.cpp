#include "display_protocol/TDummyComm.h"

#include "display_protocol/link_status.h"

int TDummyComm::open(QString)
{
    return link_status::kOk;
}

bool TDummyComm::is_open() const
{
    return true;
}

int TDummyComm::read_byte(char *, int)
{
    return link_status::kNoByte;
}

int TDummyComm::write(QList<char>, int)
{
    return link_status::kOk;
}

int TDummyComm::close()
{
    return link_status::kOk;
}

int TDummyComm::open_port(QString)
{
    return link_status::kOk;
}
