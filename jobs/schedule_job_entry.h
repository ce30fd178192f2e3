#pragma once

#include <QtGlobal>

// One schedule program that a schedule job writes and reads back, or only
// reads; the job stores what it read into the entry.
struct schedule_job_entry
{
    quint8 off_hour = 0;
    quint8 on_hour = 0;
    quint8 off_minute = 0;
    quint8 on_minute = 0;
    quint8 input = 0;           // input-source code
    quint8 day_mask = 0;
    quint8 enabled = 0;
    quint8 event_type = 0;
    quint8 repeat_mode = 0;     // 0 none, 1 every day, 2 every week, 3 weekday, 4 weekend, 5 holiday, 6 date
    quint8 picture_mode = 0;
    qint32 year = 0;
    quint8 month = 0;
    quint8 day = 0;
    qint32 program_number = 0;
    quint8 write = 0;           // 1 write and read back, 0 read only
};
