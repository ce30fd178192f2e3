#include "jobs/schedule_tasks.h"

#include "display_protocol/basic_monitor.h"
#include "jobs/CPDLANConnectionObject.h"
#include "jobs/job_task_type.h"

namespace {

constexpr int kBasicSelector = 0;
constexpr int kExtendedSelector = 12;
constexpr quint8 kWrite = 1;

// Holiday kinds and the type bits the display keeps them as.
struct holiday_kind_bits
{
    quint8 kind;
    quint8 bits;
};
constexpr holiday_kind_bits kHolidayKinds[] = {
    {holiday_job_entry::kSpanOfDays, holiday_program_record::kDateRange | holiday_program_record::kDayOfMonth},
    {holiday_job_entry::kSingleDay, holiday_program_record::kDayOfMonth},
    {holiday_job_entry::kNthWeekday, holiday_program_record::kWeekOfMonth},
};

// Repeat modes 1 to 6 of a schedule entry and the display's flag for each,
// in the order a reading tries them.
constexpr quint8 kRepeatFlags[] = {
    schedule_program_record::kEveryDay, schedule_program_record::kEveryWeek, schedule_program_record::kWeekday,
    schedule_program_record::kWeekend,  schedule_program_record::kHoliday,   schedule_program_record::kDate,
};

// Runs |process| on every entry of a copy of |entries|, which then goes to
// |result|: the first error met, after all entries; a stop ends it early.
template <typename Entry, typename Process>
int process_list(CPDLANConnectionObject &worker, const QString &step, const QList<Entry> &entries,
                 QList<Entry> &result, Process &&process)
{
    worker.report_step(step);
    if (entries.isEmpty())
        return 0;
    QList<Entry> list = entries;
    int first_error = 0;
    for (int i = 0; i < list.size(); ++i) {
        worker.report_sub_step(i, list.size(), QString());
        if (worker.stop_requested()) {
            result = list;
            return JOB_RESULT_STOPPED;
        }
        const int status = process(list[i]);
        if (first_error == 0)
            first_error = status;
    }
    result = list;
    return first_error;
}

int schedules(CPDLANConnectionObject &worker, int selector)
{
    job_list_item &job = worker.job();
    basic_monitor &link = worker.link();
    return process_list(worker, CPDLANConnectionObject::tr("Schedule Read/Write"), job.schedule_list,
                        job.job_parameters.schedule_result, [&link, selector](schedule_job_entry &entry) {
                            schedule_program_record record = schedule_to_record(entry);
                            if (entry.write == kWrite) {
                                if (const int status = link.set_schedule(entry.program_number, record, selector))
                                    return status;
                            }
                            const int status = link.get_schedule(entry.program_number, record, selector);
                            if (status == 0)
                                schedule_to_entry(record, entry);
                            return status;
                        });
}

} // namespace

holiday_program_record holiday_to_record(const holiday_job_entry &entry)
{
    holiday_program_record record;
    record.program_number = entry.program_number;
    if (entry.clear) {
        record.flags = holiday_program_record::kDayOfMonth;
        return record;
    }
    for (const holiday_kind_bits &row : kHolidayKinds) {
        if (row.kind == entry.kind)
            record.flags = row.bits;
    }
    record.year = entry.year < 0 ? 0 : static_cast<quint32>(entry.year);
    record.month = entry.month;
    record.day = entry.day;
    record.nth = entry.nth;
    record.weekday = entry.weekday;
    record.end_month = entry.end_month;
    record.end_day = entry.end_day;
    return record;
}

void holiday_to_entry(const holiday_program_record &record, holiday_job_entry &entry)
{
    entry.kind = 0;
    for (const holiday_kind_bits &row : kHolidayKinds) {
        if ((record.flags & row.bits) == row.bits) {
            entry.kind = row.kind;
            break;
        }
    }
    entry.year = static_cast<qint32>(record.year);
    entry.month = record.month;
    entry.day = record.day;
    entry.nth = record.nth;
    entry.weekday = record.weekday;
    entry.end_month = record.end_month;
    entry.end_day = record.end_day;
}

schedule_program_record schedule_to_record(const schedule_job_entry &entry)
{
    schedule_program_record record;
    record.event_type = entry.event_type;
    record.off_hour = entry.off_hour;
    record.off_minute = entry.off_minute;
    record.on_hour = entry.on_hour;
    record.on_minute = entry.on_minute;
    record.input = entry.input;
    record.day_mask = entry.day_mask;
    record.flags = entry.enabled ? schedule_program_record::kEnabled : 0;
    if (entry.repeat_mode >= 1 && entry.repeat_mode <= std::size(kRepeatFlags))
        record.flags |= kRepeatFlags[entry.repeat_mode - 1];
    record.picture_mode = entry.picture_mode;
    record.year = static_cast<quint8>(entry.year);
    record.month = entry.month;
    record.day = entry.day;
    return record;
}

void schedule_to_entry(const schedule_program_record &record, schedule_job_entry &entry)
{
    entry.event_type = record.event_type;
    entry.off_hour = static_cast<quint8>(qMin<quint32>(record.off_hour, schedule_program_record::kNoHour));
    entry.off_minute = record.off_minute;
    entry.on_hour = static_cast<quint8>(qMin<quint32>(record.on_hour, schedule_program_record::kNoHour));
    entry.on_minute = record.on_minute;
    entry.input = record.input;
    entry.day_mask = record.day_mask;
    entry.enabled = (record.flags & schedule_program_record::kEnabled) ? 1 : 0;
    entry.repeat_mode = 0;
    for (std::size_t i = 0; i < std::size(kRepeatFlags); ++i) {
        if (record.flags & kRepeatFlags[i]) {
            entry.repeat_mode = static_cast<quint8>(i + 1);
            break;
        }
    }
    entry.picture_mode = record.picture_mode;
    entry.year = record.year;
    entry.month = record.month;
    entry.day = record.day;
}

int schedule_read_write(CPDLANConnectionObject &worker)
{
    return schedules(worker, kBasicSelector);
}

int schedule_read_write_bank_12(CPDLANConnectionObject &worker)
{
    return schedules(worker, kExtendedSelector);
}

int process_holidays(CPDLANConnectionObject &worker)
{
    job_list_item &job = worker.job();
    basic_monitor &link = worker.link();
    return process_list(worker, CPDLANConnectionObject::tr("Processing Holidays"), job.holiday_list,
                        job.job_parameters.holiday_result, [&link](holiday_job_entry &entry) {
                            holiday_program_record record = holiday_to_record(entry);
                            if (entry.write == kWrite) {
                                if (const int status = link.set_holiday_schedule(record))
                                    return status;
                            }
                            const int status = link.get_holiday_schedule(entry.program_number, record);
                            if (status == 0)
                                holiday_to_entry(record, entry);
                            return status;
                        });
}

int get_set_value(CPDLANConnectionObject &worker)
{
    const job_weekend_request &request = worker.job().weekend;
    if (request.mode < 0)
        return 0;
    job_weekend_result &out = worker.job().job_parameters.weekend;
    out.mode = request.mode;
    out.bits = request.bits;
    basic_monitor &link = worker.link();
    out.result = request.mode == job_weekend_request::kWrite ? link.set_weekend_schedule(request.bits)
                                                              : link.get_weekend_schedule(out.bits);
    out.done = 1;
    return out.result == 0 ? 0 : basic_monitor::kNotSupported;
}
