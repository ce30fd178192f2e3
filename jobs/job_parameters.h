#pragma once

#include "display_protocol/vcp_list_item.h"
#include "jobs/holiday_job_entry.h"
#include "jobs/schedule_job_entry.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

// What a job's tasks found out, grouped by task. A retried job starts with
// a fresh block.

struct job_power_result
{
    qint32 result = 0;
    quint8 done = 0;
    qint32 mode = 0;        // the state read back
};

struct job_clock_result
{
    qint32 result = 0;
    quint8 done = 0;
    QDateTime date_time;    // the display's clock as read last
    quint8 daylight_saving = 0;
};

struct job_weekend_result
{
    qint32 mode = -1;       // the request carried out
    qint32 result = 0;
    quint8 done = 0;
    quint8 bits = 0;        // the weekend day mask read or written
};

struct job_parameters_block
{
    // -1 nothing to report, 2 identification failed; any other value is the
    // capability check's verdict. Anything but -1 goes into the wall layout.
    qint32 verify_status = -1;
    QString serial_number;
    QString model_name;

    qint32 error_code = 0;  // 0, or the code that ended the job
    QString error_text;     // shown instead of the code's message when set

    // The calibration's result flag: non-zero after a successful calibration
    // asks the progress dialog for a follow-up lookup-table job.
    qint32 follow_up_lut_update = 0;
    // Non-zero: the pool cancels every job when this job's results arrive.
    qint32 stop_all_on_result = 0;

    quint8 connection_lost = 0;     // the link to the display failed during the job
    QDateTime finish_time;

    job_power_result power;
    job_clock_result clock;
    QList<vcp_list_item> vcp_list_result;       // every entry with its own result
    qint32 ir_result = 0;
    QList<schedule_job_entry> schedule_result;
    QList<holiday_job_entry> holiday_result;
    job_weekend_result weekend;
};
