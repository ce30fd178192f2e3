#pragma once

#include <QtGlobal>

// One on/off schedule program of a display. The field order is also the
// order in which the schedule commands carry the fields on the wire.
struct schedule_program_record
{
    enum event_kind : quint8 { kEventOn = 1, kEventOff = 2 };
    enum flag_bits : quint8 {
        kEveryDay = 0x01, kEveryWeek = 0x02, kEnabled = 0x04, kWeekday = 0x08,
        kWeekend = 0x10, kHoliday = 0x20, kDate = 0x40,
    };
    static constexpr quint32 kNoHour = 24;    // 24 or more: no time
    static constexpr quint8 kNoMinute = 60;   // 60 or more: no time

    quint8 event_type = 0;      // extended programs only
    quint32 off_hour = kNoHour;
    quint8 off_minute = kNoMinute;
    quint32 on_hour = kNoHour;
    quint8 on_minute = kNoMinute;
    quint8 input = 0;
    quint8 day_mask = 0;        // bit 0 Monday ... bit 6 Sunday
    quint8 flags = 0;
    quint8 picture_mode = 0;    // long and extended programs
    quint8 year = 0;            // extended: 15..99, 100 every year
    quint8 month = 0;           // extended: 1..12, 13 every month
    quint8 day = 0;             // extended: 1..31, 32 every day
};
