#pragma once

#include "display_protocol/schedule_program_record.h"
#include "jobs/schedule_job_entry.h"

#include <QList>
#include <QTime>

// Schedule programs as the basic and advanced schedule pages show them,
// from what the display reports and back into what the schedule jobs write.
namespace schedule_programs {

constexpr quint8 kNoHour = 24;
constexpr quint8 kNoMinute = 60;
constexpr int kAdvancedPrograms = 30;

// The basic page: on and off time (each may be left out), input, picture
// mode, repetition and days.
struct basic_program
{
    int program = 0;                // 0..6
    bool enabled = false;
    bool on_present = false;
    QTime on_time = QTime(0, 0);
    bool off_present = false;
    QTime off_time = QTime(0, 0);
    int input = 0;
    int picture_mode = 0;
    bool every_day = false;
    bool every_week = false;
    quint8 day_mask = 0;            // bit 0 Monday ... bit 6 Sunday
};

// The repetitions of an advanced program, in the order in which a record's
// flags are applied (a later one wins).
enum repeat_mode : int { kNoRepeat = 0, kEveryDay = 1, kEveryWeek = 2, kWeekday = 3, kWeekend = 4, kHoliday = 5,
                         kDate = 6 };

// The advanced page: one switching time of an on or off event.
struct advanced_program
{
    int program = 0;                // 0..29
    bool enabled = false;
    int event_type = schedule_program_record::kEventOn;
    QTime time = QTime(0, 0);
    int input = 0;
    int picture_mode = 0;
    int repeat = kNoRepeat;         // kNoRepeat from a record: none of its flags is set
    quint8 day_mask = 0;
    // The date of a dated program (year 15..99 or 100, month 1..12 or 13,
    // day 1..31 or 32); read from a record only when its date flag is set.
    bool has_date = false;
    int year = 100;
    int month = 13;
    int day = 32;
};

// A time is present when its hour is below 24 and its minute below 60;
// anything else (a time left out, or a garbled one) shows as absent.
bool time_present(quint32 hour, quint32 minute);

basic_program basic_from_record(const schedule_program_record &record);
schedule_job_entry basic_entry(const basic_program &program);

advanced_program advanced_from_record(const schedule_program_record &record);
schedule_job_entry advanced_entry(const advanced_program &program);
// What Clear-all writes: every advanced program empty and disabled.
QList<schedule_job_entry> cleared_advanced_programs();

} // namespace schedule_programs
