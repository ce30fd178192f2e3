#include "dialogs/engine_procedure_jobs.h"

#include "display_protocol/control_codes.h"
#include "jobs/job_task_type.h"

namespace {

job_list_item job_with(const QList<qint32> &tasks)
{
    job_list_item job;
    job.task_list = tasks;
    return job;
}

job_list_item with_clock_first(job_list_item job, bool set_clock)
{
    if (set_clock) {
        job.task_list.prepend(JOB_TASK_SET_CLOCK);
        job.clock.set = 1;
        job.clock.read = 0;
    }
    return job;
}

} // namespace

job_list_item history_read_job()
{
    return job_with({JOB_TASK_READ_CALIBRATION_HISTORY});
}

job_list_item factory_reset_job()
{
    return job_with({JOB_TASK_RESET_SETTINGS, JOB_TASK_READ_CALIBRATION_HISTORY});
}

job_list_item colour_update_job(bool set_clock)
{
    return with_clock_first(job_with({JOB_TASK_UPDATE_CALIBRATION, JOB_TASK_READ_CALIBRATION_HISTORY}), set_clock);
}

int uniformity_points_value(int horizontal, int vertical, bool portrait)
{
    return portrait ? (vertical << 8) + horizontal : (horizontal << 8) + vertical;
}

job_list_item uniformity_measurement_job(bool set_clock, int horizontal, int vertical, bool portrait)
{
    job_list_item job = job_with({JOB_TASK_VCP_LIST, JOB_TASK_MEASURE, JOB_TASK_READ_CALIBRATION_HISTORY});
    job.vcp_list = {vcp_list_item::write(control_code::kUniformityPoints,
                                         uniformity_points_value(horizontal, vertical, portrait))};
    return with_clock_first(job, set_clock);
}
