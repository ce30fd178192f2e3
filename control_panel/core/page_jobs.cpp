#include "control_panel/core/page_jobs.h"

#include "app/controller/display_layout_item.h"
#include "colour/CMonitorTracker.h"
#include "jobs/job_task_type.h"

namespace page_jobs {

job_list_item single_task_job(int task)
{
    job_list_item job;
    job.task_list = {task};
    return job;
}

job_list_item lut_job(int kind)
{
    job_list_item job = single_task_job(JOB_TASK_INITIALIZE_AND_UPDATE_LUTS);
    job.lut_kind = kind;
    return job;
}

job_list_item normal_lut_job(bool calibrated)
{
    return calibrated ? single_task_job(JOB_TASK_RESTORE_CALIBRATION_SETTINGS) : lut_job(kNormalLut);
}

bool is_calibrated(const display_layout_item &item, const CMonitorTracker &records)
{
    if (!item.enabled)
        return false;
    monitor_tracker_item record(item.model_name, item.serial_number);
    return records.GetAdjustValue(record) >= 0 && !record.GetCalibrationDateTime().isNull();
}

job_list_item system_clock_job()
{
    job_list_item job = single_task_job(JOB_TASK_SET_CLOCK);
    job.clock.set = 1;
    return job;
}

job_list_item schedule_job(const QList<schedule_job_entry> &entries, int task)
{
    job_list_item job = single_task_job(task);
    job.schedule_list = entries;
    return job;
}

job_list_item holiday_job(const QList<holiday_job_entry> &entries)
{
    job_list_item job = single_task_job(JOB_TASK_HOLIDAYS);
    job.holiday_list = entries;
    return job;
}

job_list_item weekend_job(quint8 mask)
{
    job_list_item job = single_task_job(JOB_TASK_GET_SET_VALUE);
    job.weekend.mode = job_weekend_request::kWrite;
    job.weekend.bits = mask;
    return job;
}

} // namespace page_jobs
