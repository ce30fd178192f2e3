#include "dialogs/display_link_session.h"

#include "app/controller/display_layout_item.h"
#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/basic_monitor.h"


namespace {

constexpr int kNoDisplay = -1;

} // namespace

display_link_session::display_link_session(basic_monitor *monitor) : m_monitor(monitor)
{
}

display_link_session::~display_link_session()
{
    release();
}

int display_link_session::open(const display_layout_item &item)
{
    if (!m_monitor)
        return kNoDisplay;
    const int status = m_monitor->open_link(item.connection_address, item.connection_type);
    // A busy link was left as it was: it belongs to the command running.
    if (status == basic_monitor::kBusy)
        return status;
    m_held = true;
    if (status != 0) {
        release();
        return status;
    }
    m_monitor->set_monitor_id(static_cast<quint8>(basic_monitor::kMonitorIdBase + item.monitor_id));
    return 0;
}

void display_link_session::release()
{
    if (!m_held || !m_monitor)
        return;
    // Refused while another command runs: kept for a later release.
    if (m_monitor->open_link(QString(), PDCommProtocol::kLinkNone) != basic_monitor::kBusy)
        m_held = false;
}
