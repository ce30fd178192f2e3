#pragma once

#include <QString>

// The per-display summary of display jobs that the job status hub keeps and
// pushes into the wall layout model. Passes only between objects of the
// user-interface thread.
struct display_job_status_info_item
{
    qint32 last_result = 0;    // the last finished job's result; 0 when a job starts
    qint32 running = 0;        // jobs of the display now running
    qint32 pending = 0;        // jobs of the display queued and not started
    qint32 reserved = 0;
    qint32 task_total = 0;     // steps of the current task
    qint32 task_step = 0;
    qint32 sub_task_total = 0; // steps of the current sub-task
    qint32 sub_task_step = 0;
    QString task_text;
    QString sub_task_text;
};
