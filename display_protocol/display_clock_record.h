#pragma once

#include <QtGlobal>

// The display's real-time clock as the clock commands carry it: year since
// 2000, month, day, weekday, hour, minute and the daylight-saving byte.
struct display_clock_record
{
    quint8 year = 0;
    quint8 month = 0;
    quint8 day = 0;
    quint8 weekday = 0;
    quint8 hour = 0;
    quint8 minute = 0;
    quint8 daylight_saving = 0;
};
