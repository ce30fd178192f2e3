#include "jobs/job_step_plan.h"

#include "jobs/job_list_item.h"
#include "jobs/job_task_type.h"

namespace {

// A listed task adds |extra| steps beyond its own and may need the display
// identified first. Each row counts once however often its task is listed.
struct step_row
{
    qint32 task;
    int extra;
    bool identify;
};

// Counted before deciding whether identification gets a step of its own.
constexpr step_row kBeforeIdentification[] = {
    {JOB_TASK_CHECK_CAPABILITIES, 0, true},
    {JOB_TASK_CHECK_CAPABILITIES_FULL, 0, true},
    {JOB_TASK_RESTORE_CALIBRATION_SETTINGS, 3, true},
    {JOB_TASK_UPDATE_LUTS, 3, true},
    {JOB_TASK_MEASURE_PRIMARIES, 3, true},
    {JOB_TASK_READ_CALIBRATION_HISTORY, 0, true},
};

// Counted after it: these tasks identify the display inside a step of
// their own, so they add no identification step.
constexpr step_row kAfterIdentification[] = {
    {JOB_TASK_INITIALIZE_DISPLAY, 3, false},
    {JOB_TASK_INITIALIZE_DISPLAY_ENGINE, 6, true},
    {JOB_TASK_CALIBRATE, 7, true},
    {JOB_TASK_UPDATE_LUTS, 1, false},
    {JOB_TASK_LUT_READ_TEST, 3, true},
    {JOB_TASK_INPUT_PICTURE_SETTINGS, 3, true},
    {JOB_TASK_ANALOG_AUTO_SETUP, 2, false},
    {JOB_TASK_ANALOG_AUTO_GAIN, 3, false},
    {JOB_TASK_INITIALIZE_AND_UPDATE_LUTS, 3, false},
    {JOB_TASK_READ_CALIBRATION_HISTORY, 1, false},
};

template <typename Rows>
void count(const Rows &rows, const job_list_item &job, job_step_plan &plan)
{
    for (const step_row &row : rows) {
        if (!job.has_task(row.task))
            continue;
        plan.total += row.extra;
        plan.identify = plan.identify || row.identify;
    }
}

bool shows_calibrated_white(const job_list_item &job)
{
    return job.has_task(JOB_TASK_TEST_PATTERNS) && (job.test_pattern_mode == 2 || job.test_pattern_mode == 3);
}

} // namespace

job_step_plan plan_job_steps(const job_list_item &job, bool measure_after_calibration)
{
    job_step_plan plan;
    plan.total = job.task_list.size() + 1;
    count(kBeforeIdentification, job, plan);
    if (plan.identify || shows_calibrated_white(job)) {
        plan.total += 1;
        plan.identify = true;
    }
    count(kAfterIdentification, job, plan);
    if (job.has_task(JOB_TASK_CALIBRATE) && measure_after_calibration)
        plan.total += 1;
    if (job.has_task(JOB_TASK_INPUT_PICTURE_SETTINGS))
        plan.total += 2 * job.input_list.size();
    return plan;
}
