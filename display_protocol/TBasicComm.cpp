#include "display_protocol/TBasicComm.h"

#include "display_protocol/link_status.h"
#include "display_protocol/wait_service.h"

#include <algorithm>

namespace {
constexpr qint64 kIoTimeoutFloorMs = 20;
constexpr qint64 kIoTimeoutCeilingMs = 24 * 60 * 60 * 1000;
}

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

int TBasicComm::io_timeout_ms(int nominal_ms)
{
    const qint64 scaled = wait_service::scaled_ms(nominal_ms);
    return static_cast<int>(std::clamp(scaled, kIoTimeoutFloorMs, kIoTimeoutCeilingMs));
}
