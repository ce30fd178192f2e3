// The OSD page's monitor ID button and the group ID page. The OSD rotation
// is a row of the OSD page.
#include "control_panel/kq_monitor_control_panel_dialog.h"

#include "control_panel/check_box_bits.h"
#include "control_panel/core/control_targets.h"
#include "app/services/ui/wait_cursor.h"
#include "display_protocol/basic_monitor.h"
#include "display_protocol/control_codes.h"

void kq_monitor_control_panel_dialog::on_osd_show_display_id_pushButton_clicked()
{
    if (!target_display_indices.isEmpty())
        update_vcp_all_displays(control_code::kShowMonitorId, 1);
}

void kq_monitor_control_panel_dialog::update_group_ID_ui()
{
    int mask = 0, maximum = 0;
    const int status = monitor().get_vcp_with_max(control_code::kGroupMask, mask, maximum);
    form.group_ID_groupBox->setEnabled(status == 0);
    if (status == 0)
        check_bits(check_box_row("group_ID"), static_cast<quint32>(mask), true);
    setErrorMessage(status);
}

void kq_monitor_control_panel_dialog::update_monitor_group_ID_from_ui()
{
    uint mask = checked_bits(check_box_row("group_ID"));
    if (!one_target() || !open_port_for_display(target_display_indices.first()))
        return;
    int status = 0;
    {
        const wait_cursor cursor;
        status = monitor().set_vcp(control_code::kGroupMask, mask);
        if (status == 0)
            status = monitor().save_current_settings();
    }
    setErrorMessage(status);
    close_port_for_display();
}

void kq_monitor_control_panel_dialog::on_group_ID_update_pushButton_clicked()
{
    if (!control_targets::several(target_display_indices.size()))
        return;
    update_vcp_all_displays(control_code::kGroupMask, checked_bits(check_box_row("group_ID")));
}
