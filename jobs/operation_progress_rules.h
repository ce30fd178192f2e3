#pragma once

#include "app/controller/display_job_status_info_item.h"
#include "jobs/job_list_item.h"

#include <QList>
#include <QString>

#include <functional>

class layout_manager;

// What the operation progress dialog decides about jobs and their reports,
// apart from its widgets.

// Whether the task list needs the colour sensor (measuring primaries,
// calibrating, updating the calibration): such jobs never run two at once.
bool uses_colour_sensor(const job_list_item &job);

// One job per listed display of |layout|: link, monitor ID and position from
// the display, a new id from |next_id|, exclusive when the tasks use the
// sensor. Positions outside the layout get no job.
QList<job_list_item> expand_job_template(const job_list_item &job_template, const QList<int> &positions,
                                         const layout_manager &layout, const std::function<int()> &next_id);

// A job went wrong: a result, an error code or an error text.
bool job_failed(const job_list_item &job);
// The code ends the job because it was stopped or cancelled, not because it failed.
bool is_stopped_or_cancelled(qint32 code);
// The text that tells the operator what went wrong: the job's own text, or
// else the message of its effective result.
QString job_error_message(const job_list_item &job);
// A failed or cancelled job can be run again.
bool can_retry(const job_list_item &job);
// The job run again: a new id, its inputs kept, its results forgotten.
job_list_item retry_job(const job_list_item &job, int job_id);

// A successful calibration that asks for it gets a lookup-table job for the
// same display (with the test pattern again when the calibration showed the
// trimmed white); true when |follow_up| was filled.
bool make_follow_up_lut_job(const job_list_item &finished, int job_id, job_list_item &follow_up);

// "%1 of %2 completed": the jobs done without error, of all jobs known.
QString completed_count_text(int results, int errors, int running, int pending);

// A display's row: its status text, and its progress bar.
QString display_status_text(const display_job_status_info_item &status);
struct progress_bar_value
{
    int maximum = 1;
    int value = 0;
};
progress_bar_value display_progress(const display_job_status_info_item &status);
