#include "layout_setup/projector_identify.h"

#include "app/controller/display_commands.h"
#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/basic_monitor.h"

namespace {

constexpr quint8 kAnyDisplay = '*';
constexpr int kOwnMonitorId = 0x23E;
constexpr int kHighestMonitorId = 100;
constexpr quint8 kPowerOn = 1;
constexpr uint kSwitchOnWaitMs = 10000;

void address_by_own_id(basic_monitor &monitor)
{
    monitor.set_monitor_id(kAnyDisplay);
    int current = 0;
    int max = 0;
    quint8 result = 0;
    quint8 type = 0;
    if (monitor.get_vcp_raw(kOwnMonitorId, current, max, result, type) == 0 && result == 0 && current >= 1
        && current <= kHighestMonitorId)
        monitor.set_monitor_id(quint8(basic_monitor::kMonitorIdBase + current));
}

int identify_on_open_link(basic_monitor &monitor)
{
    address_by_own_id(monitor);
    quint8 state = 0;
    if (const int status = monitor.get_power_state(state))
        return status;
    if (state == kPowerOn)
        return monitor.cycle_rgb_levels();
    if (monitor.set_power_state(kPowerOn) != 0)
        return kErrDisplayNotPoweredOn;
    monitor.pause(kSwitchOnWaitMs);
    return monitor.cycle_rgb_levels();
}

} // namespace

int identify_projector(basic_monitor &monitor, const QString &address)
{
    int status = monitor.open_link(address, PDCommProtocol::kLinkLan);
    if (status == 0)
        status = identify_on_open_link(monitor);
    monitor.open_link(QString(), PDCommProtocol::kLinkNone);
    return status;
}
