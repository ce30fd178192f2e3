#pragma once

#include <QDateTime>
#include <QtGlobal>

// What a job asks of its single-purpose tasks. These are inputs: a retry
// keeps them, while the outputs in job_parameters start afresh.

// JOB_TASK_POWER_STATE.
struct job_power_request
{
    enum mode_code : qint32 { kOn = 1, kOff = 4 };

    quint8 set = 0;         // switch the display to |mode|
    quint8 read_back = 0;   // read the state before and after
    qint32 mode = 0;
};

// JOB_TASK_SET_CLOCK.
struct job_clock_request
{
    quint8 set = 0;         // write |date_time|, or the computer's clock when it is invalid
    quint8 read = 0;        // only read the clock
    QDateTime date_time;
};

// JOB_TASK_GET_SET_VALUE: the display's weekend days.
struct job_weekend_request
{
    enum mode_code : qint32 { kNone = -1, kRead = 0, kWrite = 1 };

    qint32 mode = kNone;
    quint8 bits = 0;        // weekend day mask to write
};
