#include "control_panel/core/control_row_writer.h"

#include "display_protocol/basic_monitor.h"
#include "jobs/job_task_type.h"

#include <algorithm>

int write_control(basic_monitor &monitor, int code, uint &value, bool slow_link)
{
    uint written = value;
    if (slow_link)
        monitor.set_slow_link(true);
    const int status = monitor.set_vcp(code, written);
    if (slow_link)
        monitor.set_slow_link(false);
    if (status != 0)
        return status;
    uint read_back = value;
    if (const int status = monitor.get_vcp(code, read_back))
        return status;
    value = read_back;
    return monitor.save_current_settings();
}

int write_control_row(basic_monitor &monitor, const control_row &row, int &value)
{
    int acknowledged = 0;
    switch (row.write) {
    case write_sequence::none:
        return 0;
    case write_sequence::set_read_save: {
        uint wire = static_cast<uint>(std::max(0, row.wire_value(value)));
        const int status = write_control(monitor, row.code, wire, row.slow_link);
        value = row.shown_value(static_cast<int>(std::min<uint>(wire, 0xFFFFu)));
        return status;
    }
    case write_sequence::set_save: {
        uint wire = static_cast<uint>(std::max(0, row.wire_value(value)));
        const int status = monitor.set_vcp(row.code, wire);
        return status != 0 ? status : monitor.save_current_settings();
    }
    case write_sequence::power_setting:
        return row.code == basic_monitor::kStandbyTime
                   ? monitor.set_power_setting_ca0b_5(row.wire_value(value), acknowledged)
                   : monitor.set_power_setting_ca0b_3(row.wire_value(value), acknowledged);
    case write_sequence::power_save_mode:
        return monitor.set_power_save_mode(value, acknowledged);
    }
    return 0;
}

job_list_item control_list_job(const QList<vcp_list_item> &list)
{
    job_list_item job;
    job.task_list = {JOB_TASK_VCP_LIST};
    job.vcp_list = list;
    return job;
}

job_list_item control_write_job(int code, int value)
{
    return control_list_job({vcp_list_item::write(code, value)});
}
