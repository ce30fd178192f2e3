#include "jobs/display_record_access.h"

#include "app/controller/MasterControl.h"
#include "app/controller/master_globals.h"
#include "colour/CMonitorTracker.h"
#include "jobs/job_list_item.h"

namespace {

CMonitorTracker *record_store()
{
    return g_master ? g_master->getMonitorTracker() : nullptr;
}

} // namespace

bool find_display_record(const job_list_item &job, monitor_tracker_item &record)
{
    const QString model = job.job_parameters.model_name;
    const QString serial = job.job_parameters.serial_number;
    record = monitor_tracker_item(model, serial);
    CMonitorTracker *store = record_store();
    if (store && store->GetAdjustValue(record) >= 0)
        return true;
    // The store answers a miss with empty keys.
    record = monitor_tracker_item(model, serial);
    return false;
}

monitor_tracker_item fetch_display_record(const job_list_item &job)
{
    monitor_tracker_item record;
    if (!find_display_record(job, record))
        store_display_record(record);
    return record;
}

void store_display_record(const monitor_tracker_item &record)
{
    if (CMonitorTracker *store = record_store())
        store->SetAdjustValue(record);
}
