#include "views/docks/communications_interface_state.h"

#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"

namespace {

constexpr int kSerialLink = 0;
constexpr int kLanLink = 1;
constexpr int kNoLink = 2;
constexpr quint8 kAllDisplays = '*';
constexpr int kUnverified = 0;

const char kPendingIcon[] = ":/images/Resources/alerts_yellow_icon_20.png";
const char kPendingTooltip[] = "<img src=\":/images/Resources/alerts_yellow_icon_20.png\"> Unapplied changes";

int read_monitor_id(basic_monitor &monitor, int &id)
{
    monitor.set_monitor_id(kAllDisplays);
    int current = 0;
    int maximum = 0;
    quint8 result = 0;
    quint8 type = 0;
    const int status = monitor.get_vcp_raw(control_code::kMonitorId, current, maximum, result, type);
    if (status != 0)
        return status;
    // A display without the control answers with a status and no ID.
    if (result != 0)
        return basic_monitor::kNotSupported;
    id = current;
    return 0;
}

int read_model_name(basic_monitor &monitor, int monitor_id)
{
    monitor.set_monitor_id(quint8(basic_monitor::kMonitorIdBase + monitor_id));
    QString model;
    return monitor.get_model_name(model);
}

} // namespace

applied_connection applied_connection_of(const display_layout_item &item, int com_index)
{
    applied_connection applied;
    applied.rs232 = item.connection_type != display_layout_item::kLan;
    applied.address = applied.rs232 ? QString() : item.connection_address;
    applied.com_index = applied.rs232 ? com_index : -1;
    applied.monitor_id = item.monitor_id;
    return applied;
}

connection_edit_state connection_edit_state_for(const applied_connection &applied, const connection_entry &entry)
{
    connection_edit_state state;
    state.com_enabled = entry.rs232;
    state.address_enabled = !entry.rs232;
    const bool id_chosen = entry.monitor_id > 0;
    const bool same_id = entry.monitor_id == applied.monitor_id;
    bool unchanged = false;
    if (entry.rs232) {
        state.valid = entry.com_index >= 0 && id_chosen;
        unchanged = applied.rs232 && entry.com_index == applied.com_index && same_id;
    } else {
        state.valid = entry.address_acceptable && id_chosen;
        unchanged = !applied.rs232 && entry.address == applied.address && same_id;
    }
    state.pending = state.valid && !unchanged;
    if (state.pending) {
        state.update_icon = QString::fromLatin1(kPendingIcon);
        state.update_tooltip = QString::fromLatin1(kPendingTooltip);
    }
    return state;
}

display_layout_item updated_layout_item(display_layout_item item, const connection_entry &entry)
{
    item.monitor_id = entry.monitor_id;
    item.connection_type = entry.rs232 ? display_layout_item::kRs232 : display_layout_item::kLan;
    item.connection_address = entry.rs232 ? entry.com_name : entry.address;
    item.verify_status = kUnverified;
    return item;
}

link_check_result run_link_check(basic_monitor &monitor, link_check_kind kind, const connection_entry &entry)
{
    link_check_result result;
    result.status = entry.rs232 ? monitor.open_link(entry.com_name, kSerialLink)
                                : monitor.open_link(entry.address, kLanLink);
    if (result.status == 0) {
        int id = 0;
        result.status = kind == link_check_kind::auto_detect ? read_monitor_id(monitor, id)
                                                              : read_model_name(monitor, entry.monitor_id);
        if (result.status == 0)
            result.detected_monitor_id = id;
    }
    monitor.open_link(QString(), kNoLink);
    return result;
}
