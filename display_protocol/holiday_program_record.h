#pragma once

#include <QtGlobal>

// One holiday program of a display.
struct holiday_program_record
{
    enum type_bits : quint8 { kDateRange = 0x01, kDayOfMonth = 0x02, kWeekOfMonth = 0x04 };

    quint8 program_number = 0;
    quint8 flags = 0;           // type_bits
    quint32 year = 0;           // 0 every year, else 15..99
    quint8 month = 0;
    quint8 day = 0;
    quint8 nth = 0;             // week of the month, 1..5
    quint8 weekday = 0;         // 1 Monday ... 7 Sunday
    quint8 end_month = 0;
    quint8 end_day = 0;
};
