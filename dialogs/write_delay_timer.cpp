#include "dialogs/write_delay_timer.h"

#include "display_protocol/basic_monitor.h"
#include "display_protocol/wait_service.h"

namespace {

// Soon enough to follow the command that holds the link, late enough not
// to spin while it runs.
constexpr int kBusyRetryMs = 50;

} // namespace

write_delay_timer::write_delay_timer(QObject *parent, int nominal_ms) : QTimer(parent), m_nominalMs(nominal_ms)
{
    setSingleShot(true);
}

void write_delay_timer::restart()
{
    restart(m_nominalMs);
}

void write_delay_timer::restart(int nominal_ms)
{
    stop();
    if (!m_held)
        start(wait_service::timer_interval_ms(nominal_ms));
}

bool write_delay_timer::retry_if_busy(int status)
{
    if (status != basic_monitor::kBusy)
        return false;
    start(wait_service::timer_interval_ms(kBusyRetryMs));
    return true;
}
