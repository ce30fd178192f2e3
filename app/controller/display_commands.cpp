#include "app/controller/display_commands.h"

#include "app/controller/display_layout_item.h"
#include "display_protocol/PDCommProtocol.h"
#include "display_protocol/basic_monitor.h"

namespace {

constexpr quint8 kPowerOn = 1;
constexpr quint8 kPowerStandby = 4;

int identify(basic_monitor &monitor)
{
    quint8 state = 0;
    const int status = monitor.get_power_state(state);
    if (status != 0)
        return status;
    if (state != kPowerOn)
        return kErrDisplayNotPoweredOn;
    return monitor.cycle_rgb_levels();
}

int run_on_open_link(basic_monitor &monitor, display_command command, int value)
{
    switch (command) {
    case display_command::identify:
        return identify(monitor);
    case display_command::power:
        return monitor.set_power_state(value != 0 ? kPowerOn : kPowerStandby);
    case display_command::osd_orientation:
        return monitor.set_osd_orientation(value);
    }
    return 0;
}

} // namespace

int run_display_command(basic_monitor &monitor, const display_layout_item &item, display_command command,
                        int value)
{
    int status = monitor.open_link(item.connection_address, item.connection_type);
    if (status == 0) {
        monitor.set_monitor_id(quint8(basic_monitor::kMonitorIdBase + item.monitor_id));
        status = run_on_open_link(monitor, command, value);
    }
    monitor.open_link(QString(), PDCommProtocol::kLinkNone);
    return status;
}
