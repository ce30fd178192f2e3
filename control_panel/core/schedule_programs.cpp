#include "control_panel/core/schedule_programs.h"

namespace schedule_programs {
namespace {

using record = schedule_program_record;

// A new entry has no on and no off time.
schedule_job_entry empty_entry()
{
    schedule_job_entry entry;
    entry.off_hour = entry.on_hour = kNoHour;
    entry.off_minute = entry.on_minute = kNoMinute;
    return entry;
}

QTime shown_time(quint32 hour, quint32 minute)
{
    return time_present(hour, minute) ? QTime(static_cast<int>(hour), static_cast<int>(minute)) : QTime(0, 0);
}

void put_time(bool present, const QTime &time, quint8 &hour, quint8 &minute)
{
    hour = present ? static_cast<quint8>(time.hour()) : kNoHour;
    minute = present ? static_cast<quint8>(time.minute()) : kNoMinute;
}

} // namespace

bool time_present(quint32 hour, quint32 minute)
{
    return hour < kNoHour && minute < kNoMinute;
}

basic_program basic_from_record(const schedule_program_record &r)
{
    basic_program p;
    p.enabled = r.flags & record::kEnabled;
    p.every_day = r.flags & record::kEveryDay;
    p.every_week = r.flags & record::kEveryWeek;
    p.day_mask = r.day_mask & 0x7F;
    p.input = r.input;
    p.picture_mode = r.picture_mode;
    p.off_present = time_present(r.off_hour, r.off_minute);
    p.off_time = shown_time(r.off_hour, r.off_minute);
    p.on_present = time_present(r.on_hour, r.on_minute);
    p.on_time = shown_time(r.on_hour, r.on_minute);
    return p;
}

schedule_job_entry basic_entry(const basic_program &p)
{
    schedule_job_entry entry = empty_entry();
    put_time(p.off_present, p.off_time, entry.off_hour, entry.off_minute);
    put_time(p.on_present, p.on_time, entry.on_hour, entry.on_minute);
    entry.input = static_cast<quint8>(p.input);
    entry.day_mask = p.day_mask & 0x7F;
    entry.enabled = p.enabled ? 1 : 0;
    // Every Week wins: Every Day only disables the week's boxes.
    entry.repeat_mode = p.every_week ? kEveryWeek : p.every_day ? kEveryDay : kNoRepeat;
    entry.picture_mode = static_cast<quint8>(p.picture_mode);
    entry.program_number = p.program;
    entry.write = 1;
    return entry;
}

advanced_program advanced_from_record(const schedule_program_record &r)
{
    advanced_program p;
    p.enabled = r.flags & record::kEnabled;
    p.event_type = r.event_type;
    p.input = r.input;
    p.picture_mode = r.picture_mode;
    const std::pair<quint8, int> repeats[] = {{record::kEveryDay, kEveryDay}, {record::kEveryWeek, kEveryWeek},
                                              {record::kWeekday, kWeekday},   {record::kWeekend, kWeekend},
                                              {record::kHoliday, kHoliday},   {record::kDate, kDate}};
    for (const auto &repeat : repeats) {
        if (r.flags & repeat.first)
            p.repeat = repeat.second;
    }
    p.day_mask = r.day_mask & 0x7F;
    p.time = r.event_type == record::kEventOn ? shown_time(r.on_hour, r.on_minute)
                                              : shown_time(r.off_hour, r.off_minute);
    p.has_date = r.flags & record::kDate;
    if (p.has_date) {
        p.year = r.year;
        p.month = r.month;
        p.day = r.day;
    }
    return p;
}

schedule_job_entry advanced_entry(const advanced_program &p)
{
    schedule_job_entry entry = empty_entry();
    if (p.event_type == record::kEventOn)
        put_time(true, p.time, entry.on_hour, entry.on_minute);
    else
        put_time(true, p.time, entry.off_hour, entry.off_minute);
    entry.input = static_cast<quint8>(p.input);
    entry.day_mask = p.day_mask & 0x7F;
    entry.enabled = p.enabled ? 1 : 0;
    entry.event_type = static_cast<quint8>(p.event_type);
    entry.repeat_mode = static_cast<quint8>(p.repeat);
    entry.picture_mode = static_cast<quint8>(p.picture_mode);
    if (p.repeat == kDate) {
        entry.year = p.year;
        entry.month = static_cast<quint8>(p.month);
        entry.day = static_cast<quint8>(p.day);
    }
    entry.program_number = p.program;
    entry.write = 1;
    return entry;
}

QList<schedule_job_entry> cleared_advanced_programs()
{
    QList<schedule_job_entry> entries;
    for (int program = 0; program < kAdvancedPrograms; ++program) {
        schedule_job_entry entry = empty_entry();
        entry.event_type = record::kEventOn;
        entry.repeat_mode = kEveryDay;
        entry.year = 100;
        entry.month = 13;
        entry.day = 32;
        entry.program_number = program;
        entry.write = 1;
        entries << entry;
    }
    return entries;
}

} // namespace schedule_programs
