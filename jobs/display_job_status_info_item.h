#pragma once

#include <QMetaType>
#include <QString>
#include <QtGlobal>

// The running summary of one display's jobs, kept by the job status hub and
// copied into the wall layout, where the display's tile shows it.
struct display_job_status_info_item
{
    qint32 last_result = 0;     // the last finished job's effective result; 0 when a job starts
    qint32 running = 0;
    qint32 pending = 0;
    qint32 reserved = 0;
    qint32 task_total = 0;
    qint32 task_step = 0;
    qint32 sub_task_total = 0;
    qint32 sub_task_step = 0;
    QString task_text;
    QString sub_task_text;
};

Q_DECLARE_METATYPE(display_job_status_info_item)
