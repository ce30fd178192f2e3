#include "display_protocol/TBasicComm.h"

#include "display_protocol/link_status.h"

TBasicComm::~TBasicComm() = default;

int TBasicComm::open(QString)
{
    return link_status::kBaseOperation;
}

QString TBasicComm::port_name() const
{
    return m_port_name;
}

bool TBasicComm::is_open() const
{
    return false;
}

int TBasicComm::read_byte(char *, int)
{
    return link_status::kBaseOperation;
}

int TBasicComm::write(QList<char>, int)
{
    return link_status::kBaseOperation;
}
