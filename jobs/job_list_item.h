#pragma once

#include "display_protocol/vcp_list_item.h"
#include "jobs/holiday_job_entry.h"
#include "jobs/job_parameters.h"
#include "jobs/job_requests.h"
#include "jobs/schedule_job_entry.h"

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QtGlobal>

// One operation on one display: built on the user-interface thread, queued
// in the pool, copied into a worker on its own thread and copied back with
// its results through queued signals. Fields outside job_parameters are the
// job's inputs; job_parameters holds what the tasks report.
struct job_list_item
{
    QString connection_key;         // IP address or serial port name: one link, one job at a time
    qint32 monitor_id = 0;
    qint32 connection_type = 0;     // 0 RS-232, 1 LAN
    qint32 exclusive = 0;           // uses the colour sensor: never two at once
    qint32 job_id = -1;
    qint32 position = -1;           // the display's index in the wall layout
    quint32 priority = 0;           // larger runs first
    qint32 test_pattern_mode = 0;   // 0 off, 1 full white, 2 calibrated white, 3 with the visual trim
    qint32 osd_orientation = -1;    // 0 landscape, 1 portrait, -1 not set

    QList<vcp_list_item> vcp_list;  // JOB_TASK_VCP_LIST
    QList<qint32> input_list;       // input-source codes (JOB_TASK_SELECT_INPUT, JOB_TASK_INPUT_PICTURE_SETTINGS)
    QList<schedule_job_entry> schedule_list;
    QList<holiday_job_entry> holiday_list;
    QByteArray ir_sequence;         // remote-control key codes; 0 pauses one second
    job_power_request power;
    job_clock_request clock;
    qint32 lut_kind = 0;            // JOB_TASK_INITIALIZE_AND_UPDATE_LUTS: 0 normal, 1 black, 2 white
    job_weekend_request weekend;

    job_parameters_block job_parameters;

    // 0, or JOB_RESULT_CANCELLED for a job cancelled before it started, or
    // JOB_RESULT_STOPPED for one stopped while running.
    qint32 result = 0;
    qint32 queued_count = 0;        // times the job was added to the pool
    QList<qint32> task_list;        // job_task_type values, run in order

    bool has_task(qint32 task) const { return task_list.contains(task); }
    // The one code that tells how the job ended: |result| when non-zero,
    // else the tasks' error code.
    qint32 effective_result() const { return result != 0 ? result : job_parameters.error_code; }
};

// Finished jobs are listed by job id; equal ids compare equal.
inline bool job_id_less(const job_list_item &left, const job_list_item &right)
{
    return left.job_id < right.job_id;
}

Q_DECLARE_METATYPE(job_list_item)
