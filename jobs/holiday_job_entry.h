#pragma once

#include <QtGlobal>

// One holiday program that a holiday job writes and reads back, or only
// reads; the job stores what it read into the entry.
struct holiday_job_entry
{
    enum kind_code : quint8 { kSpanOfDays = 1, kSingleDay = 2, kNthWeekday = 3 };

    quint8 program_number = 0;  // 1..50
    quint8 kind = 0;            // kind_code
    qint32 year = 0;
    quint8 month = 0;
    quint8 day = 0;
    quint8 nth = 0;
    quint8 weekday = 0;
    quint8 end_month = 0;
    quint8 end_day = 0;
    quint8 write = 0;           // 1 write and read back, 0 read only
    quint8 clear = 0;           // with write: write an empty single-day holiday
};
