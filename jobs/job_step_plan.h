#pragma once

struct job_list_item;

// How many progress steps a job reports in all, and whether the worker
// identifies the display before the task list runs.
struct job_step_plan
{
    int total = 1;
    bool identify = false;
};

// Counts "Connecting...", one step per listed task, the extra steps of the
// tasks that report more than one, and the identification. The calibration
// measures the display afterwards, one step more, when
// |measure_after_calibration| is set.
job_step_plan plan_job_steps(const job_list_item &job, bool measure_after_calibration);
