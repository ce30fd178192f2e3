#include "app/controller/display_layout_item.h"

#include "colour/CMonitorTracker.h"

display_layout_item::job_status_block
display_layout_item::job_status_block::from(const display_job_status_info_item &status)
{
    job_status_block block;
    block.pending = status.pending;
    block.running = status.running;
    block.last_result = status.last_result;
    block.task_total = status.task_total;
    block.task_step = status.task_step;
    block.sub_task_total = status.sub_task_total;
    block.sub_task_step = status.sub_task_step;
    return block;
}

bool display_layout_item::job_status_block::operator==(const job_status_block &other) const
{
    return pending == other.pending && running == other.running && last_result == other.last_result
           && task_total == other.task_total && task_step == other.task_step
           && sub_task_total == other.sub_task_total && sub_task_step == other.sub_task_step;
}

namespace {

bool same_address(const display_layout_item &a, const display_layout_item &b)
{
    return a.monitor_id == b.monitor_id && a.connection_address == b.connection_address;
}

bool same_display(const display_layout_item &a, const display_layout_item &b)
{
    if (a.serial_number.isEmpty() || a.model_name.isEmpty() || b.serial_number.isEmpty()
        || b.model_name.isEmpty())
        return false;
    return a.serial_number.compare(b.serial_number, Qt::CaseInsensitive) == 0
           && a.model_name.compare(b.model_name, Qt::CaseInsensitive) == 0;
}

} // namespace

bool update_derived_flags(QList<display_layout_item> &items)
{
    for (display_layout_item &item : items)
        item.id_conflict = item.duplicate_display = false;
    bool any = false;
    // Both relations are symmetric, so each pair is compared once and both
    // of its items are flagged.
    for (int i = 0; i < items.size(); ++i) {
        if (!items[i].enabled)
            continue;
        for (int j = i + 1; j < items.size(); ++j) {
            if (!items[j].enabled)
                continue;
            if (same_address(items[i], items[j]))
                items[i].id_conflict = items[j].id_conflict = any = true;
            if (same_display(items[i], items[j]))
                items[i].duplicate_display = items[j].duplicate_display = any = true;
        }
    }
    return any;
}

bool look_up_display_record(const CMonitorTracker &records, const display_layout_item &item, CAdjustValue &record)
{
    monitor_tracker_item key(item.model_name, item.serial_number);
    if (records.GetAdjustValue(key) < 0)
        return false;
    record = key;
    return true;
}
